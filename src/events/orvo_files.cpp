#include "orvo_files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void set_why(std::string* why, const std::string& path, const std::string& reason) {
  if (why) *why = orvo_file_message(path, reason);
}

locale_t classic() {
  static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

}  // namespace

std::string orvo_file_message(const std::string& path, const std::string& reason) {
  return "\"" + path + "\": " + reason;
}

FILE* orvo_open_for_reading(const std::string& path, std::string* why) {
  if (path.empty()) {
    set_why(why, path, "no file name given");
    return nullptr;
  }
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    set_why(why, path, std::string("cannot be opened: ") + std::strerror(errno));
    return nullptr;
  }
  struct stat st {};
  if (fstat(fileno(file), &st) != 0 || S_ISDIR(st.st_mode)) {
    std::fclose(file);
    set_why(why, path, "is a directory, not a file");
    return nullptr;
  }
  return file;
}

orvoReplacingFile::~orvoReplacingFile() { discard(); }

void orvoReplacingFile::discard() {
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!temp_.empty()) {
    std::remove(temp_.c_str());
    temp_.clear();
  }
}

bool orvoReplacingFile::open(const std::string& target, std::string* why) {
  discard();
  target_ = target;
  if (target.empty()) {
    set_why(why, target, "no file name given");
    return false;
  }
  struct stat st {};
  if (stat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    set_why(why, target, "is a directory, not a file");
    return false;
  }
  std::string pattern = target + ".tmpXXXXXX";
  int fd = mkstemp(pattern.data());
  if (fd < 0) {
    set_why(why, target, std::string("cannot be created: ") + std::strerror(errno));
    return false;
  }
  // mkstemp makes the file private; give it the mode a plain create would.
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  file_ = fdopen(fd, "wb");
  if (!file_) {
    int err = errno;
    close(fd);
    std::remove(pattern.c_str());
    set_why(why, target, std::string("cannot be created: ") + std::strerror(err));
    return false;
  }
  temp_ = pattern;
  return true;
}

bool orvoReplacingFile::commit(std::string* why) {
  if (!file_) {
    set_why(why, target_, "was not opened");
    return false;
  }
  bool ok = std::ferror(file_) == 0;
  int err = ok ? 0 : EIO;
  if (std::fflush(file_) != 0) {
    ok = false;
    err = errno;
  }
  if (std::fclose(file_) != 0 && ok) {
    ok = false;
    err = errno;
  }
  file_ = nullptr;
  if (ok && std::rename(temp_.c_str(), target_.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    set_why(why, target_, std::string("could not be written: ") + std::strerror(err));
    discard();
    return false;
  }
  temp_.clear();
  return true;
}

orvoClassicLocale::orvoClassicLocale() : previous_(uselocale(classic())) {}

orvoClassicLocale::~orvoClassicLocale() { uselocale(previous_); }
