// Feeds arbitrary bytes to the XML reader through a real file, as users do.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "orvo_event_set.h"

namespace {

bool listed(const std::vector<int32_t>& values, int32_t value) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& input = fuzz_write_input(data, size);

  orvoEventSet set;
  set.events = {{1, 2, 3, 4, 5, 6, 7}};
  set.frames = {1};
  set.types = {3};
  set.default_type = 9;
  std::string why;
  int result = orvo_event_set_load_xml(&set, input, &why);
  if (set.default_type != 9) std::abort();
  if (result == -1) {
    // Untouched, with a reason about this file.
    if (why.rfind("\"" + input + "\": ", 0) != 0) std::abort();
    if (set.events.size() != 1 || set.events[0].x1 != 6 || set.frames != std::vector<int32_t>{1} ||
        set.types != std::vector<int32_t>{3}) {
      std::abort();
    }
    return 0;
  }
  if (result != 1) std::abort();
  for (size_t i = 1; i < set.frames.size(); ++i) {
    if (static_cast<uint32_t>(set.frames[i - 1]) >= static_cast<uint32_t>(set.frames[i]))
      std::abort();
  }
  for (size_t i = 0; i < set.types.size(); ++i) {
    if (set.types[i] < 0 || set.types[i] > 255) std::abort();
    if (std::find(set.types.begin(), set.types.begin() + static_cast<long>(i), set.types[i]) !=
        set.types.begin() + static_cast<long>(i)) {
      std::abort();
    }
  }
  for (const _orvoEvent& e : set.events) {
    if (!listed(set.types, e.type) || !listed(set.frames, e.frame)) std::abort();
    // Only types 0, 1 and 4 have a box, and a type 4 box is ordered.
    if (e.type != 0 && e.type != 1 && e.type != 4 && (e.x0 | e.y0 | e.x1 | e.y1) != 0) std::abort();
    if (e.type == 4 && (e.x0 > e.x1 || e.y0 > e.y1)) std::abort();
  }
  if (set.frames.size() > set.events.size() || set.types.size() > set.events.size()) std::abort();

  // Whatever was read must come back from a write and a second read.
  const std::string base = input + "-out";
  if (orvo_event_set_save_xml(&set, base, nullptr) != 1) std::abort();
  orvoEventSet back;
  if (orvo_event_set_load_xml(&back, base + ".xml", nullptr) != 1) std::abort();
  if (back.events.size() != set.events.size() || back.frames != set.frames ||
      back.types != set.types) {
    std::abort();
  }
  for (size_t i = 0; i < set.events.size(); ++i) {
    const _orvoEvent& a = set.events[i];
    const _orvoEvent& b = back.events[i];
    if (a.frame != b.frame || a.id != b.id || a.type != b.type) std::abort();
    // Boxes survive while the values fit a 32-bit real exactly.
    auto exact = [](int32_t v) { return v >= -(1 << 24) && v <= (1 << 24); };
    if (exact(a.x0) && exact(a.y0) && exact(a.x1) && exact(a.y1) &&
        (a.x0 != b.x0 || a.y0 != b.y0 || a.x1 != b.x1 || a.y1 != b.y1)) {
      std::abort();
    }
  }
  return 0;
}
