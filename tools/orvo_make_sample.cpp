// Makes the bundled sample sequence: ten people-sized objects crossing a
// 720 x 576 view for 300 frames, and a tracker's output for it, as numeric
// text files and as XML files.
#include <cstdio>
#include <string>

#include "orvo_event_set.h"
#include "orvo_synth.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: orvo-make-sample DIRECTORY\n");
    return 2;
  }
  const std::string dir = argv[1];
  orvoSynthParams params;
  params.seed = 20261211;
  params.frames = 300;
  params.objects = 10;
  params.miss_rate = 0.06;
  params.false_positive_rate = 0.5;
  params.id_switches = 3;
  params.box_noise = 3.0;
  const orvoSynthSequence sequence = orvo_synth_generate(params);

  std::string why;
  const orvoEventSet truth = orvo_synth_truth_set(sequence);
  const orvoEventSet detections = orvo_synth_detection_set(sequence);
  if (!orvo_synth_write_truth(dir + "/gt.txt", sequence) ||
      !orvo_synth_write_detections(dir + "/tracker.txt", sequence) ||
      orvo_event_set_save_xml(&truth, dir + "/gt", &why) != 1 ||
      orvo_event_set_save_xml(&detections, dir + "/tracker", &why) != 1) {
    std::fprintf(stderr, "orvo-make-sample: cannot write into %s %s\n", dir.c_str(), why.c_str());
    return 1;
  }
  std::printf("%s: %zu truth boxes, %zu tracker boxes\n", dir.c_str(), sequence.truth.size(),
              sequence.detections.size());
  return 0;
}
