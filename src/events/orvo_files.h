// File handling shared by the readers and the writers: opening with a reason
// a user understands, replacing a file only once its new content is complete,
// and printing numbers with "." whatever the user's locale.
#pragma once

#include <cstdio>
#include <locale.h>
#include <string>

// Opens a regular file for reading. On failure returns nullptr and sets *why
// (when given) to the quoted path and the reason.
FILE* orvo_open_for_reading(const std::string& path, std::string* why);

// "\"path\": reason", the form of every message about a file.
std::string orvo_file_message(const std::string& path, const std::string& reason);

// Writes to a temporary file beside the target and renames it over the target
// on commit(), so a failed write never destroys what was there. Without a
// successful commit() the temporary file is removed.
class orvoReplacingFile {
 public:
  orvoReplacingFile() = default;
  ~orvoReplacingFile();
  orvoReplacingFile(const orvoReplacingFile&) = delete;
  orvoReplacingFile& operator=(const orvoReplacingFile&) = delete;

  bool open(const std::string& target, std::string* why);
  FILE* file() const { return file_; }
  bool commit(std::string* why);

 private:
  void discard();

  std::string target_;
  std::string temp_;
  FILE* file_ = nullptr;
};

// For its lifetime this thread formats and scans numbers in the classic locale.
class orvoClassicLocale {
 public:
  orvoClassicLocale();
  ~orvoClassicLocale();
  orvoClassicLocale(const orvoClassicLocale&) = delete;
  orvoClassicLocale& operator=(const orvoClassicLocale&) = delete;

 private:
  locale_t previous_;
};
