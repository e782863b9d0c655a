// Feeds arbitrary bytes to the text reader through a real file, as users do.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_input.h"
#include "orvo_event_set.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& input = fuzz_write_input(data, size);

  orvoEventSet set;
  set.default_type = 3;
  if (orvo_event_set_load_txt(&set, input, nullptr) != 1) std::abort();
  if (set.types.size() != 1 || set.types[0] != 3) std::abort();
  for (size_t i = 1; i < set.frames.size(); ++i) {
    if (static_cast<uint32_t>(set.frames[i - 1]) >= static_cast<uint32_t>(set.frames[i])) std::abort();
  }
  for (const _orvoEvent& e : set.events) {
    if (e.frame < 0 || e.type != 3) std::abort();
  }
  // Whatever was read must survive a write and a second read.
  const std::string base = input + "-out";
  if (orvo_event_set_save_txt(&set, base, nullptr) != 1) std::abort();
  orvoEventSet back;
  if (orvo_event_set_load_txt(&back, base + ".txt", nullptr) != 1) std::abort();
  if (back.event_count() > set.event_count()) std::abort();
  return 0;
}
