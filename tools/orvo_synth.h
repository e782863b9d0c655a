// Synthetic sequences: objects moving through a frame, crossing and hiding
// each other, and a simulated tracker that follows them with box noise,
// misses, false positives and identity switches. Deterministic for a seed, so
// the bundled sample and the benchmark inputs can be made again exactly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "orvo_event_set.h"

struct orvoSynthParams {
  uint64_t seed = 1;
  int32_t frames = 300;
  int32_t objects = 10;
  int32_t width = 720;
  int32_t height = 576;
  double miss_rate = 0.05;          // a followed object is missed in a frame
  double false_positive_rate = 0.3; // expected false tracks started per 10 frames
  int32_t id_switches = 3;          // crossings at which the tracker exchanges two IDs
  double box_noise = 3.0;           // pixels, each edge
  bool enter_and_leave = true;      // some objects are in view for part of the sequence only
};

// A tracker box with the confidence the tracker gave it.
struct orvoSynthDetection {
  _orvoEvent box;
  float confidence = 1.0f;
};

struct orvoSynthSequence {
  std::vector<_orvoEvent> truth;                // frame by frame
  std::vector<orvoSynthDetection> detections;  // frame by frame
};

orvoSynthSequence orvo_synth_generate(const orvoSynthParams& params);

// Numeric line form: "frame id confidence x0 y0 x1 y1". Returns false when the
// file cannot be written.
bool orvo_synth_write_truth(const std::string& path, const orvoSynthSequence& sequence);
bool orvo_synth_write_detections(const std::string& path, const orvoSynthSequence& sequence);
// The sequence as an event set (confidence dropped), for the XML writer.
orvoEventSet orvo_synth_truth_set(const orvoSynthSequence& sequence);
orvoEventSet orvo_synth_detection_set(const orvoSynthSequence& sequence);
