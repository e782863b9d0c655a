#include "orvo_synth.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>

#include "orvo_files.h"
#include "orvo_numbers.h"

namespace {

// splitmix64: tiny, fast and the same everywhere (std:: distributions are not).
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
  double uniform(double low, double high) { return low + (high - low) * uniform(); }
  int32_t integer(int32_t low, int32_t high) {  // inclusive
    return low + static_cast<int32_t>(next() % static_cast<uint64_t>(high - low + 1));
  }
  bool chance(double p) { return uniform() < p; }
  // A confidence as the files print it, two decimals, so that what the
  // reader parses is exactly the value kept here.
  float confidence(double low, double high) {
    return static_cast<float>(std::round(uniform(low, high) * 100.0) / 100.0);
  }
  // Roughly normal, mean 0, standard deviation 1.
  double bell() { return (uniform() + uniform() + uniform() + uniform() - 2.0) * std::sqrt(3.0); }

 private:
  uint64_t state_;
};

struct Mover {
  double x, y, vx, vy, w, h;
  int32_t first, last;  // frames in which the object is in view
  int32_t track_id;     // the tracker's current ID for it
};

struct FalseTrack {
  double x, y, vx, vy, w, h;
  int32_t last;
  int32_t id;
};

void step(double& pos, double& velocity, double size, double limit) {
  pos += velocity;
  if (pos < 0) {
    pos = -pos;
    velocity = -velocity;
  } else if (pos + size > limit) {
    pos = 2 * (limit - size) - pos;
    velocity = -velocity;
  }
}

_orvoEvent truth_box(int32_t frame, int32_t id, const Mover& m) {
  return {frame, id, 0, orvo_real_to_int(m.x), orvo_real_to_int(m.y), orvo_real_to_int(m.x + m.w),
          orvo_real_to_int(m.y + m.h)};
}

}  // namespace

orvoSynthSequence orvo_synth_generate(const orvoSynthParams& params) {
  Random rng(params.seed);
  const double width = params.width, height = params.height;
  // Objects walk along horizontal lanes, two to a lane in opposite
  // directions, so that they cross and hide each other now and then; boxes
  // stay within their lane's height so that other lanes rarely touch.
  const int32_t lanes = std::max(1, (params.objects + 1) / 2);
  const double lane_height = height / lanes;
  std::vector<Mover> movers;
  for (int32_t i = 0; i < params.objects; ++i) {
    Mover m{};
    m.h = std::min(rng.uniform(60, 110), lane_height * 0.85);
    m.w = m.h / rng.uniform(1.6, 2.4);
    const bool from_left = i % 2 == 0;
    m.x = from_left ? rng.uniform(0, width * 0.3) : rng.uniform(width * 0.7 - m.w, width - m.w);
    m.y = (i / 2 + 0.5) * lane_height - m.h / 2 + rng.uniform(-0.05, 0.05) * lane_height;
    m.vx = (from_left ? 1 : -1) * rng.uniform(1.0, 3.0);
    m.vy = rng.uniform(-0.05, 0.05);
    if (params.enter_and_leave && params.frames > 50 && rng.chance(0.3)) {
      m.first = rng.integer(0, params.frames / 5);
      m.last = rng.integer(params.frames * 4 / 5, params.frames - 1);
    } else {
      m.first = 0;
      m.last = params.frames - 1;
    }
    m.track_id = 101 + i;
    movers.push_back(m);
  }

  // Identity switches: on the first id_switches lanes the tracker exchanges
  // the two objects' IDs where they first cross, and keeps them exchanged.
  std::vector<bool> switch_pending(static_cast<size_t>(lanes), false);
  for (int32_t lane = 0; lane < std::min(lanes, params.id_switches); ++lane) {
    switch_pending[static_cast<size_t>(lane)] = true;
  }

  orvoSynthSequence out;
  out.truth.reserve(size_t(params.frames) * params.objects);
  out.detections.reserve(size_t(params.frames) * params.objects);
  std::vector<FalseTrack> false_tracks;
  int32_t next_false_id = 901;
  for (int32_t frame = 0; frame < params.frames; ++frame) {
    for (size_t lane = 0; lane < switch_pending.size(); ++lane) {
      if (!switch_pending[lane] || 2 * lane + 1 >= movers.size()) continue;
      Mover &a = movers[2 * lane], &b = movers[2 * lane + 1];
      const bool in_view = frame >= a.first && frame <= a.last && frame >= b.first && frame <= b.last;
      if (in_view && std::fabs(a.x - b.x) < std::min(a.w, b.w) / 2) {
        std::swap(a.track_id, b.track_id);
        switch_pending[lane] = false;
      }
    }
    for (size_t i = 0; i < movers.size(); ++i) {
      Mover& m = movers[i];
      if (frame >= m.first && frame <= m.last) {
        out.truth.push_back(truth_box(frame, static_cast<int32_t>(i + 1), m));
        if (!rng.chance(params.miss_rate)) {
          const double n = params.box_noise;
          _orvoEvent box = truth_box(frame, m.track_id, m);
          box.x0 = orvo_real_to_int(box.x0 + n * rng.bell());
          box.y0 = orvo_real_to_int(box.y0 + n * rng.bell());
          box.x1 = orvo_real_to_int(box.x1 + n * rng.bell());
          box.y1 = orvo_real_to_int(box.y1 + n * rng.bell());
          out.detections.push_back({box, rng.confidence(0.6, 1.0)});
        }
      }
      step(m.x, m.vx, m.w, width);
      step(m.y, m.vy, m.h, height);
    }
    if (rng.chance(params.false_positive_rate / 10.0)) {
      FalseTrack t{};
      t.w = rng.uniform(20, 60);
      t.h = rng.uniform(30, 100);
      t.x = rng.uniform(0, width - t.w);
      t.y = rng.uniform(0, height - t.h);
      t.vx = rng.uniform(-2, 2);
      t.vy = rng.uniform(-1, 1);
      t.last = frame + rng.integer(2, 15);
      t.id = next_false_id++;
      false_tracks.push_back(t);
    }
    for (FalseTrack& t : false_tracks) {
      _orvoEvent box{frame, t.id, 0, orvo_real_to_int(t.x), orvo_real_to_int(t.y),
                     orvo_real_to_int(t.x + t.w), orvo_real_to_int(t.y + t.h)};
      // Some false tracks are so unsure that the reader drops them.
      out.detections.push_back({box, rng.confidence(0.3, 0.9)});
      step(t.x, t.vx, t.w, width);
      step(t.y, t.vy, t.h, height);
    }
    std::erase_if(false_tracks, [frame](const FalseTrack& t) { return t.last <= frame; });
  }
  return out;
}

namespace {

bool write_lines(const std::string& path, size_t count,
                 const std::function<void(std::string&, size_t)>& line) {
  orvoReplacingFile out;
  if (!out.open(path, nullptr)) return false;
  std::string text;
  for (size_t i = 0; i < count; ++i) {
    line(text, i);
    if (text.size() > (1 << 20)) {
      std::fwrite(text.data(), 1, text.size(), out.file());
      text.clear();
    }
  }
  std::fwrite(text.data(), 1, text.size(), out.file());
  return out.commit(nullptr);
}

void append_box_line(std::string& text, const _orvoEvent& e, float confidence) {
  orvo_append_int(text, e.frame);
  text += ' ';
  orvo_append_int(text, e.id);
  text += ' ';
  char digits[32];
  text.append(digits, std::to_chars(digits, digits + sizeof digits, confidence,
                                    std::chars_format::fixed, 2).ptr);
  for (int32_t value : {e.x0, e.y0, e.x1, e.y1}) {
    text += ' ';
    orvo_append_int(text, value);
  }
  text += '\n';
}

}  // namespace

bool orvo_synth_write_truth(const std::string& path, const orvoSynthSequence& sequence) {
  return write_lines(path, sequence.truth.size(), [&](std::string& text, size_t i) {
    append_box_line(text, sequence.truth[i], 1.0f);
  });
}

bool orvo_synth_write_detections(const std::string& path, const orvoSynthSequence& sequence) {
  return write_lines(path, sequence.detections.size(), [&](std::string& text, size_t i) {
    append_box_line(text, sequence.detections[i].box, sequence.detections[i].confidence);
  });
}

namespace {

orvoEventSet as_set(std::vector<_orvoEvent> events) {
  orvoEventSet set;
  for (const _orvoEvent& e : events) set.frames.push_back(e.frame);
  std::sort(set.frames.begin(), set.frames.end());
  set.frames.erase(std::unique(set.frames.begin(), set.frames.end()), set.frames.end());
  set.types = {0};
  set.events = std::move(events);
  return set;
}

}  // namespace

orvoEventSet orvo_synth_truth_set(const orvoSynthSequence& sequence) { return as_set(sequence.truth); }

orvoEventSet orvo_synth_detection_set(const orvoSynthSequence& sequence) {
  // What the text reader keeps of the detections file.
  std::vector<_orvoEvent> kept;
  for (const orvoSynthDetection& d : sequence.detections) {
    if (d.confidence >= 0.5f) kept.push_back(d.box);
  }
  return as_set(std::move(kept));
}
