#include "orvo_event_set.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "orvo_require.h"

orvoEventSet* orvo_event_set_new() { return new orvoEventSet(); }

int orvo_event_set_free(orvoEventSet* set) {
  delete set;
  return 1;
}

int orvo_event_set_reset(orvoEventSet* set, uint32_t n) {
  ORVO_REQUIRE(set);
  set->events.assign(n, _orvoEvent{});
  set->frames.clear();
  set->types.clear();
  return 1;
}

bool orvo_event_set_is_empty(const orvoEventSet* set) {
  ORVO_REQUIRE(set);
  return set->events.empty();
}

bool orvo_event_set_is_xml_name(const std::string& path) {
  // The three characters after the last dot, and only those; without a dot
  // the name is compared from its start.
  size_t dot = path.rfind('.');
  size_t from = dot == std::string::npos ? 0 : dot + 1;
  return path.compare(from, 3, "xml") == 0;
}

int orvo_event_set_load(orvoEventSet* set, const std::string& path, std::string* why) {
  ORVO_REQUIRE(set);
  return orvo_event_set_is_xml_name(path) ? orvo_event_set_load_xml(set, path, why)
                                          : orvo_event_set_load_txt(set, path, why);
}

int orvo_event_set_save(const orvoEventSet* set, const std::string& base_name, int save_type,
                        std::string* why) {
  ORVO_REQUIRE(set);
  switch (save_type) {
    case ORVO_SAVE_TXT:
      return orvo_event_set_save_txt(set, base_name, why);
    case ORVO_SAVE_XML:
      return orvo_event_set_save_xml(set, base_name, why);
    default:
      if (why) *why = "unknown save type " + std::to_string(save_type);
      return -1;
  }
}

namespace {

// Appends the values of `from` that are neither in `into` nor met before, in
// the order of `from`.
void append_new(std::vector<int32_t>& into, const std::vector<int32_t>& from) {
  std::unordered_set<int32_t> seen(into.begin(), into.end());
  for (int32_t value : from) {
    if (seen.insert(value).second) into.push_back(value);
  }
}

}  // namespace

int orvo_event_set_merge(orvoEventSet* EDst, const orvoEventSet* ESrc) {
  ORVO_REQUIRE(EDst);
  ORVO_REQUIRE(ESrc);
  if (EDst == ESrc) {
    // Merging a set into itself doubles its events; frames and types stay.
    const std::vector<_orvoEvent> copy = EDst->events;
    EDst->events.insert(EDst->events.end(), copy.begin(), copy.end());
    return 1;
  }
  EDst->events.insert(EDst->events.end(), ESrc->events.begin(), ESrc->events.end());
  append_new(EDst->frames, ESrc->frames);
  orvo_event_set_sort_frames(EDst);
  append_new(EDst->types, ESrc->types);
  return 1;
}

int orvo_event_set_sort_frames(orvoEventSet* set) {
  ORVO_REQUIRE(set);
  // Stable, so equal values keep their order as a pairwise-swap sort would.
  std::stable_sort(set->frames.begin(), set->frames.end(), [](int32_t a, int32_t b) {
    return static_cast<uint32_t>(a) < static_cast<uint32_t>(b);
  });
  return 1;
}

orvoEventSelection* orvo_event_set_selection_new() { return new orvoEventSelection(); }

int orvo_event_set_selection_free(orvoEventSelection* selection) {
  delete selection;
  return 1;
}

int orvo_event_set_select(orvoEventSelection* selection, const orvoEventSet* set, int32_t frame,
                          const int32_t* types, uint32_t type_count) {
  ORVO_REQUIRE(selection);
  ORVO_REQUIRE(set);
  selection->events.clear();
  const int32_t* types_end = types ? types + type_count : nullptr;
  for (const _orvoEvent& event : set->events) {
    if (event.frame != frame) continue;
    if (types && std::find(types, types_end, event.type) == types_end) continue;
    selection->events.push_back(&event);
  }
  return 1;
}

double orvo_event_set_area(const _orvoEvent* event) {
  ORVO_REQUIRE(event);
  // Sides in 64 bits, product in double: exact for sides below 2^26, and no
  // box, however large, can overflow.
  int64_t width = int64_t{event->x1} - event->x0;
  int64_t height = int64_t{event->y1} - event->y0;
  return std::fabs(static_cast<double>(width) * static_cast<double>(height));
}

double orvo_event_set_intersection(const _orvoEvent* a, const _orvoEvent* b) {
  ORVO_REQUIRE(a);
  ORVO_REQUIRE(b);
  int64_t left = std::max(a->x0, b->x0);
  int64_t right = std::min(a->x1, b->x1);
  int64_t top = std::max(a->y0, b->y0);
  int64_t bottom = std::min(a->y1, b->y1);
  if (right < left || bottom < top) return 0.0;
  return static_cast<double>(right - left) * static_cast<double>(bottom - top);
}

double orvo_event_set_fmeasure(const _orvoEvent* a, const _orvoEvent* b) {
  double areas = orvo_event_set_area(a) + orvo_event_set_area(b);
  if (areas == 0.0) return 0.0;
  return 2.0 * orvo_event_set_intersection(a, b) / areas;
}

bool orvo_event_set_is_occluded(const _orvoEvent* event, const orvoEventSelection* selection,
                                double threshold) {
  ORVO_REQUIRE(event);
  ORVO_REQUIRE(selection);
  for (const _orvoEvent* other : selection->events) {
    if (other->id == event->id) continue;
    if (orvo_event_set_fmeasure(event, other) > threshold) return true;
  }
  return false;
}
