// An index from frame number to the positions of that frame's events, built
// once so that per-frame selections cost the frame's events instead of the
// whole set. Selections through it equal orvo_event_set_select's exactly.
#pragma once

#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "orvo_event_set.h"

class orvoFrameIndex {
 public:
  orvoFrameIndex() = default;
  explicit orvoFrameIndex(const orvoEventSet& set) { build(set); }

  void build(const orvoEventSet& set);
  // Positions in set.events of the frame's events, ascending.
  std::span<const uint32_t> events_of(int32_t frame) const;

 private:
  std::unordered_map<int32_t, uint32_t> slot_;  // frame -> slot
  std::vector<uint32_t> start_;                 // slot -> first entry in order_
  std::vector<uint32_t> order_;                 // event positions grouped by slot
};

// orvo_event_set_select through an index built from the same, unchanged set.
int orvo_event_set_select_indexed(orvoEventSelection* selection, const orvoEventSet* set,
                                  const orvoFrameIndex& index, int32_t frame,
                                  const int32_t* types, uint32_t type_count);
