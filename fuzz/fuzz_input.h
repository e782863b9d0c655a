// The fuzz targets read their input from a real file, as users' files are
// read: one scratch file per process, rewritten for every input and removed
// at exit together with what the target wrote beside it (path + "-out.*").
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

inline const std::string& fuzz_scratch_path() {
  static const std::string path = [] {
    std::string pattern = "/tmp/orvo-fuzz-XXXXXX";
    int fd = mkstemp(pattern.data());
    if (fd < 0) std::abort();
    close(fd);
    return pattern;
  }();
  // Registered once the path exists, so it runs before the path is destroyed.
  static const bool cleanup = [] {
    std::atexit([] {
      std::remove(path.c_str());
      std::remove((path + "-out.txt").c_str());
      std::remove((path + "-out.xml").c_str());
    });
    return true;
  }();
  (void)cleanup;
  return path;
}

// Writes the input to the scratch file and returns its path.
inline const std::string& fuzz_write_input(const uint8_t* data, size_t size) {
  const std::string& path = fuzz_scratch_path();
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  if (std::fclose(file) != 0) std::abort();
  return path;
}
