#include "orvo_frame_index.h"

#include <algorithm>

#include "orvo_require.h"

void orvoFrameIndex::build(const orvoEventSet& set) {
  slot_.clear();
  start_.clear();
  order_.clear();
  // Counting sort by frame: one slot per distinct frame, events keep their
  // set order inside a slot. Files come grouped by frame, so the last slot is
  // remembered to spare most hash lookups.
  std::vector<uint32_t> slot_of(set.events.size());
  std::vector<uint32_t> counts;
  int32_t last_frame = 0;
  uint32_t last_slot = UINT32_MAX;
  for (size_t i = 0; i < set.events.size(); ++i) {
    int32_t frame = set.events[i].frame;
    if (last_slot == UINT32_MAX || frame != last_frame) {
      auto [it, inserted] = slot_.try_emplace(frame, static_cast<uint32_t>(counts.size()));
      if (inserted) counts.push_back(0);
      last_frame = frame;
      last_slot = it->second;
    }
    slot_of[i] = last_slot;
    ++counts[last_slot];
  }
  start_.resize(counts.size() + 1);
  start_[0] = 0;
  for (size_t s = 0; s < counts.size(); ++s) start_[s + 1] = start_[s] + counts[s];
  order_.resize(set.events.size());
  std::vector<uint32_t> fill(start_.begin(), start_.end() - 1);
  for (size_t i = 0; i < set.events.size(); ++i) order_[fill[slot_of[i]]++] = static_cast<uint32_t>(i);
}

std::span<const uint32_t> orvoFrameIndex::events_of(int32_t frame) const {
  auto it = slot_.find(frame);
  if (it == slot_.end()) return {};
  return std::span<const uint32_t>(order_).subspan(start_[it->second],
                                                   start_[it->second + 1] - start_[it->second]);
}

int orvo_event_set_select_indexed(orvoEventSelection* selection, const orvoEventSet* set,
                                  const orvoFrameIndex& index, int32_t frame,
                                  const int32_t* types, uint32_t type_count) {
  ORVO_REQUIRE(selection);
  ORVO_REQUIRE(set);
  selection->events.clear();
  const int32_t* types_end = types ? types + type_count : nullptr;
  for (uint32_t position : index.events_of(frame)) {
    const _orvoEvent& event = set->events[position];
    if (types && std::find(types, types_end, event.type) == types_end) continue;
    selection->events.push_back(&event);
  }
  return 1;
}
