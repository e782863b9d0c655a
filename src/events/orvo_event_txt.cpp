// Text event files. The reader accepts four line forms scanned with scanf
// semantics; the writer produces frame lines followed by object lines.
#include <charconv>
#include <cstring>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "orvo_event_set.h"
#include "orvo_files.h"
#include "orvo_frame_index.h"
#include "orvo_numbers.h"
#include "orvo_require.h"

namespace {

bool begins_with(const char* p, const char* end, std::string_view word) {
  return static_cast<size_t>(end - p) >= word.size() && std::memcmp(p, word.data(), word.size()) == 0;
}

// One scanf-style scan of a line. Conversions store into their targets as
// they succeed, so a scan that stops part-way has still written the fields it
// filled. result() is what sscanf returns: the number of fields filled, or -1
// when the input ended before the first conversion.
class LineScan {
 public:
  LineScan(const char* p, const char* end) : p_(p), end_(end) {}

  LineScan& literal(std::string_view text) {
    for (char c : text) {
      if (stopped_) return *this;
      if (c == ' ' || c == '\t' || c == '\n') {
        orvo_skip_space(p_, end_);
      } else if (p_ >= end_) {
        stop(orvoScan::end_of_input);
      } else if (*p_ != c) {
        stop(orvoScan::no_match);
      } else {
        ++p_;
      }
    }
    return *this;
  }
  LineScan& integer(int32_t& out, bool* written = nullptr) {
    if (!stopped_ && count(orvo_scan_int(p_, end_, out)) && written) *written = true;
    return *this;
  }
  LineScan& real(float& out) {
    if (!stopped_) count(orvo_scan_float(p_, end_, out));
    return *this;
  }
  LineScan& word() {
    if (!stopped_) count(orvo_scan_word(p_, end_));
    return *this;
  }
  int result() const { return input_ended_ && filled_ == 0 ? -1 : filled_; }

 private:
  bool count(orvoScan status) {
    if (status != orvoScan::ok) {
      stop(status);
      return false;
    }
    ++filled_;
    return true;
  }
  void stop(orvoScan status) {
    stopped_ = true;
    input_ended_ = status == orvoScan::end_of_input;
  }

  const char* p_;
  const char* end_;
  int filled_ = 0;
  bool stopped_ = false;
  bool input_ended_ = false;
};

// The reader's state. Scanned values persist from line to line: a field that
// a scan leaves unfilled keeps what an earlier line put there.
class TxtReader {
 public:
  explicit TxtReader(int32_t type) : type_(type) {}

  void line(const char* p, const char* end) {
    // The scans see the line as a C string: it ends at a NUL byte.
    if (const void* nul = std::memchr(p, '\0', end - p)) end = static_cast<const char*>(nul);
    float confidence = 1.0f;
    bool event = false;
    bool frame_written = false;
    if (begins_with(p, end, "frame")) {
      LineScan(p, end).literal("frame\t").integer(frame_, &frame_written);
    } else if (begins_with(p, end, "object") &&
               LineScan(p, end).literal("object\t").integer(id_).literal(" ").real(cx_).literal(" ")
                       .real(cy_).literal(" ").real(hw_).literal(" ").real(hh_).result() != 0) {
      x0_ = (cx_ - hw_) * 2.0f;
      y0_ = (cy_ - hh_) * 2.0f;
      x1_ = (cx_ + hw_) * 2.0f;
      y1_ = (cy_ + hh_) * 2.0f;
      event = true;
    } else if (begins_with(p, end, "image") &&
               LineScan(p, end).literal("image").integer(frame_, &frame_written).literal(".").word()
                       .literal(" ").integer(id_).literal(" ").real(x0_).literal(" ").real(y0_)
                       .literal(" ").real(x1_).literal(" ").real(y1_).result() != 0) {
      event = true;
    } else {
      // An object or image line that scanned nothing fails here too, without
      // filling anything, since its first character is no digit.
      event = LineScan(p, end).integer(frame_, &frame_written).literal(" ").integer(id_).literal(" ")
                  .real(confidence).literal(" ").real(x0_).literal(" ").real(y0_).literal(" ")
                  .real(x1_).literal(" ").real(y1_).result() == 7;
    }
    frame_known_ = frame_known_ || frame_written;

    if (!(confidence >= 0.5f)) return;  // also NaN
    if (frame_ < 0) return;
    // Before any line named a frame, only an event registers (frame 0).
    if (frame_known_ || event) register_frame(frame_);
    if (event) {
      events_.push_back({frame_, id_, type_, orvo_real_to_int(x0_), orvo_real_to_int(y0_),
                         orvo_real_to_int(x1_), orvo_real_to_int(y1_)});
    }
  }

  void finish(orvoEventSet* set) {
    set->events = std::move(events_);
    set->frames = std::move(frames_);
    set->types.assign(1, type_);
    orvo_event_set_sort_frames(set);
  }

 private:
  void register_frame(int32_t frame) {
    if (has_registered_ && frame == last_registered_) return;
    has_registered_ = true;
    last_registered_ = frame;
    if (seen_.insert(frame).second) frames_.push_back(frame);
  }

  int32_t type_;
  int32_t frame_ = 0;
  bool frame_known_ = false;
  int32_t id_ = 0;
  float x0_ = 0, y0_ = 0, x1_ = 0, y1_ = 0;
  float cx_ = 0, cy_ = 0, hw_ = 0, hh_ = 0;
  bool has_registered_ = false;
  int32_t last_registered_ = 0;
  std::unordered_set<int32_t> seen_;
  std::vector<_orvoEvent> events_;
  std::vector<int32_t> frames_;
};

// Centre or half size at half scale, as the object form of the reader expects.
int32_t half_scale_centre(int32_t low, int32_t high) {
  float half = static_cast<float>(int64_t{high} - low) * 0.5f;
  return orvo_real_to_int((static_cast<float>(low) + half) * 0.5f);
}
int32_t half_scale_half(int32_t low, int32_t high) {
  return orvo_real_to_int((static_cast<float>(int64_t{high} - low) * 0.5f) * 0.5f);
}

}  // namespace

int orvo_event_set_load_txt(orvoEventSet* set, const std::string& path, std::string* why) {
  ORVO_REQUIRE(set);
  FILE* file = orvo_open_for_reading(path, why);
  if (!file) return -1;

  TxtReader reader(set->default_type);
  std::vector<char> buffer(1 << 20);
  std::string carry;  // a line that spans buffer refills
  size_t got = 0;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) {
    const char* p = buffer.data();
    const char* end = p + got;
    while (p < end) {
      const char* newline = static_cast<const char*>(std::memchr(p, '\n', end - p));
      if (!newline) {
        carry.append(p, end);
        break;
      }
      if (carry.empty()) {
        reader.line(p, newline);
      } else {
        carry.append(p, newline);
        reader.line(carry.data(), carry.data() + carry.size());
        carry.clear();
      }
      p = newline + 1;
    }
  }
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    if (why) *why = orvo_file_message(path, "could not be read to its end");
    return -1;
  }
  if (!carry.empty()) reader.line(carry.data(), carry.data() + carry.size());
  reader.finish(set);
  return 1;
}

int orvo_event_set_save_txt(const orvoEventSet* set, const std::string& base_name, std::string* why) {
  ORVO_REQUIRE(set);
  const std::string path = base_name + ".txt";
  orvoReplacingFile out;
  if (!out.open(path, why)) return -1;

  const orvoFrameIndex index(*set);
  std::string text;
  for (int32_t frame : set->frames) {
    text += "frame\t";
    orvo_append_int(text, frame);
    text += '\n';
    for (uint32_t position : index.events_of(frame)) {
      const _orvoEvent& e = set->events[position];
      text += "object\t";
      orvo_append_int(text, e.id);
      for (int32_t value : {half_scale_centre(e.x0, e.x1), half_scale_centre(e.y0, e.y1),
                            half_scale_half(e.x0, e.x1), half_scale_half(e.y0, e.y1)}) {
        text += '\t';
        orvo_append_int(text, value);
      }
      text += '\n';
    }
    if (text.size() >= (1 << 20)) {
      std::fwrite(text.data(), 1, text.size(), out.file());
      text.clear();
    }
  }
  std::fwrite(text.data(), 1, text.size(), out.file());
  return out.commit(why) ? 1 : -1;
}
