// Feeds arbitrary bytes to the text reader through a real file, as users do.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "orvo_event_set.h"

namespace {

const std::string& scratch_path() {
  static const std::string path = [] {
    std::string pattern = "/tmp/orvo-fuzz-txt-XXXXXX";
    int fd = mkstemp(pattern.data());
    if (fd < 0) std::abort();
    close(fd);
    return pattern;
  }();
  static const bool cleanup = [] {
    std::atexit([] {
      std::remove(path.c_str());
      std::remove((path + "-out.txt").c_str());
    });
    return true;
  }();
  (void)cleanup;
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* file = std::fopen(scratch_path().c_str(), "wb");
  if (!file) std::abort();
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  orvoEventSet set;
  set.default_type = 3;
  if (orvo_event_set_load_txt(&set, scratch_path(), nullptr) != 1) std::abort();
  if (set.types.size() != 1 || set.types[0] != 3) std::abort();
  for (size_t i = 1; i < set.frames.size(); ++i) {
    if (static_cast<uint32_t>(set.frames[i - 1]) >= static_cast<uint32_t>(set.frames[i])) std::abort();
  }
  for (const _orvoEvent& e : set.events) {
    if (e.frame < 0 || e.type != 3) std::abort();
  }
  // Whatever was read must survive a write and a second read.
  const std::string base = scratch_path() + "-out";
  if (orvo_event_set_save_txt(&set, base, nullptr) != 1) std::abort();
  orvoEventSet back;
  if (orvo_event_set_load_txt(&back, base + ".txt", nullptr) != 1) std::abort();
  if (back.event_count() > set.event_count()) std::abort();
  return 0;
}
