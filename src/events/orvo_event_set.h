// Event records, event sets and per-frame selections: the annotation data that
// every other module reads. Procedural on purpose: records with public fields
// and free functions that take the record first and return 1 or -1.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One object's box in one frame, whole pixels.
struct _orvoEvent {
  int32_t frame = 0;
  int32_t id = 0;
  int32_t type = 0;
  int32_t x0 = 0;
  int32_t y0 = 0;
  int32_t x1 = 0;
  int32_t y1 = 0;
};

// A Ground Truth or Estimation set. The counts are derived from the arrays so
// that they can never disagree with them.
struct orvoEventSet {
  std::vector<_orvoEvent> events;  // file order; a merge appends
  std::vector<int32_t> frames;     // distinct, ascending by unsigned value
  std::vector<int32_t> types;      // distinct, in order of first appearance
  int32_t default_type = 0;        // given to every event of a text file

  uint32_t event_count() const { return static_cast<uint32_t>(events.size()); }
  uint32_t frame_count() const { return static_cast<uint32_t>(frames.size()); }
  uint32_t type_count() const { return static_cast<uint32_t>(types.size()); }
};

// The events of one frame after a type filter: pointers into a set, valid only
// while the set's event array is unchanged.
struct orvoEventSelection {
  std::vector<const _orvoEvent*> events;

  uint32_t count() const { return static_cast<uint32_t>(events.size()); }
};

// Save types of orvo_event_set_save.
enum : int { ORVO_SAVE_TXT = 1, ORVO_SAVE_XML = 2 };

orvoEventSet* orvo_event_set_new();
int orvo_event_set_free(orvoEventSet* set);
// Resizes the event array to n zeroed records and clears frames and types;
// keeps default_type.
int orvo_event_set_reset(orvoEventSet* set, uint32_t n);
bool orvo_event_set_is_empty(const orvoEventSet* set);

// Loads a file with the reader its name chooses (".xml" as the three characters
// after the last dot, case-sensitive, goes to the XML reader). Returns the
// reader's result; on -1 the set is untouched and *why, when given, says in a
// user's words what is wrong with the file.
int orvo_event_set_load(orvoEventSet* set, const std::string& path, std::string* why = nullptr);
// True when orvo_event_set_load would give the path to the XML reader.
bool orvo_event_set_is_xml_name(const std::string& path);
// base_name has no extension; each writer appends its own.
int orvo_event_set_save(const orvoEventSet* set, const std::string& base_name, int save_type,
                        std::string* why = nullptr);

// Appends ESrc's events to EDst; new frames join EDst's frame list (sorted
// again), new types are appended in ESrc's order. ESrc is unchanged.
int orvo_event_set_merge(orvoEventSet* EDst, const orvoEventSet* ESrc);
int orvo_event_set_sort_frames(orvoEventSet* set);

orvoEventSelection* orvo_event_set_selection_new();
int orvo_event_set_selection_free(orvoEventSelection* selection);
// Takes, in set order, the events of `frame` whose type is among the first
// type_count entries of `types`; types == nullptr takes every type (mind that
// data() of an empty vector may be nullptr: it then means every type, not none).
int orvo_event_set_select(orvoEventSelection* selection, const orvoEventSet* set, int32_t frame,
                          const int32_t* types, uint32_t type_count);

double orvo_event_set_area(const _orvoEvent* event);
double orvo_event_set_intersection(const _orvoEvent* a, const _orvoEvent* b);
// 2 * overlap / (area(a) + area(b)); 0 when both areas are 0.
double orvo_event_set_fmeasure(const _orvoEvent* a, const _orvoEvent* b);
// True when an event of the selection with another id has a box F-measure
// with `event` strictly above the threshold.
bool orvo_event_set_is_occluded(const _orvoEvent* event, const orvoEventSelection* selection,
                                double threshold);

// The readers and writers behind load and save. The readers replace the set's
// content after a successful open; on -1 the set is untouched.
int orvo_event_set_load_txt(orvoEventSet* set, const std::string& path, std::string* why = nullptr);
int orvo_event_set_save_txt(const orvoEventSet* set, const std::string& base_name,
                            std::string* why = nullptr);
int orvo_event_set_load_xml(orvoEventSet* set, const std::string& path, std::string* why = nullptr);
int orvo_event_set_save_xml(const orvoEventSet* set, const std::string& base_name,
                            std::string* why = nullptr);
