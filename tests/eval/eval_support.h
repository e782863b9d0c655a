// Sequences built in code for the engine and report tests.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "orvo_event_set.h"
#include "orvo_events_eval.h"
#include "orvo_events_eval_report.h"

inline _orvoEvent box(int32_t frame, int32_t id, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                      int32_t type = 0) {
  return {frame, id, type, x0, y0, x1, y1};
}

// The boxes of one object or tracker standing still from frame `from` to `to`.
inline std::vector<_orvoEvent> track(int32_t id, int32_t from, int32_t to, int32_t x0, int32_t y0,
                                     int32_t x1, int32_t y1, int32_t type = 0) {
  std::vector<_orvoEvent> boxes;
  for (int32_t f = from; f <= to; ++f) boxes.push_back(box(f, id, x0, y0, x1, y1, type));
  return boxes;
}

inline std::vector<_orvoEvent> join(std::initializer_list<std::vector<_orvoEvent>> parts) {
  std::vector<_orvoEvent> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// Fills a set as a reader leaves it: the events in the given order, the
// frame list as given, the types in order of first appearance ({0} for a set
// without events, like a text file with frame lines only).
inline void fill(orvoEventSet& set, std::vector<_orvoEvent> events, std::vector<int32_t> frames) {
  set.events = std::move(events);
  set.frames = std::move(frames);
  set.types.clear();
  for (const _orvoEvent& e : set.events) {
    if (std::find(set.types.begin(), set.types.end(), e.type) == set.types.end()) {
      set.types.push_back(e.type);
    }
  }
  if (set.events.empty()) set.types = {0};
}

using EvalPtr = std::unique_ptr<orvoEventsEval, decltype(&orvo_events_eval_free)>;

inline EvalPtr make_eval() { return EvalPtr(orvo_events_eval_new(), &orvo_events_eval_free); }

// A context with both sets filled, initialised and processed.
inline EvalPtr evaluate(std::vector<_orvoEvent> gt, std::vector<_orvoEvent> e,
                        std::vector<int32_t> frames, float coverage = 0.33f, float occlusion = 0.1f,
                        std::vector<int32_t> types = {}) {
  EvalPtr EE = make_eval();
  std::vector<int32_t> e_frames;
  for (const _orvoEvent& ev : e) {
    if (std::find(e_frames.begin(), e_frames.end(), ev.frame) == e_frames.end()) {
      e_frames.push_back(ev.frame);
    }
  }
  fill(EE->gt, std::move(gt), std::move(frames));
  fill(EE->e, std::move(e), std::move(e_frames));
  orvo_event_set_sort_frames(&EE->e);
  orvo_events_eval_init(EE.get(), coverage, occlusion, types.empty() ? nullptr : types.data(),
                        static_cast<uint32_t>(types.size()));
  orvo_events_eval_process(EE.get());
  return EE;
}

// The full report as a string.
inline std::string report_text(const orvoEventsEval* EE, const std::string& sequence_path) {
  char* buffer = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&buffer, &size);
  orvo_events_eval_write_report(out, EE, sequence_path);
  std::fclose(out);
  std::string text(buffer, size);
  std::free(buffer);
  return text;
}
