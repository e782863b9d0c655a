#include "orvo_events_eval_report.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "orvo_files.h"
#include "orvo_require.h"

namespace {

const char kRule[] = "-----------------------------------------------------\n";
const char kClosingRule[] = "-----------------------------------------------------\n\n";

// fprintf that remembers whether anything failed, so that the sections read
// as the report they write.
class Printer {
 public:
  explicit Printer(FILE* out) : out_(out) {}

  __attribute__((format(printf, 2, 3))) void operator()(const char* format, ...) {
    va_list args;
    va_start(args, format);
    if (std::vfprintf(out_, format, args) < 0) ok_ = false;
    va_end(args);
  }
  bool ok() const { return ok_ && std::ferror(out_) == 0; }

 private:
  FILE* out_;
  bool ok_ = true;
};

// Reals are printed from their 32-bit values widened to double.
double real(float value) { return static_cast<double>(value); }

void write_parameters(Printer& print, const orvoEventsEval* EE, const std::string& name) {
  print("%s--- Evaluation parameters                         ---\n%s", kRule, kRule);
  print("---  sequence name:       %s\n", name.c_str());
  print("---  coverage threshold:  %12.6f            ---\n", real(EE->coverage_threshold));
  print("---  occlusion threshold: %12.6f            ---\n", real(EE->occlusion_threshold));
  print("%s", kClosingRule);
}

void write_quality(Printer& print, const orvoEventsEval* EE) {
  print("%s---  Quality of tracking                          ---\n%s", kRule, kRule);
  print("---  F-measure : %f\n", real(EE->fmeasure));
  for (uint32_t j = 0; j < EE->id_map.gt_count(); ++j) {
    print("---  F-measure (%3d): %f\n", EE->id_map.gt_ids[j], real(EE->gt_fmeasure[j]));
  }
  print("%s", kClosingRule);
}

void write_sequence_errors(Printer& print, const orvoEventsEval* EE) {
  print("%s---  Identification errors (%5d frames)         ---\n%s", kRule,
        static_cast<int>(EE->frame_count()), kRule);
  print("---  FN:  %f | %d\n", real(EE->fnbar), EE->fn);
  print("---  FP:  %f | %d\n", real(EE->fpbar), EE->fp);
  print("---  MT:  %f | %d\n", real(EE->mtbar), EE->mt);
  print("---  MO:  %f | %d\n", real(EE->mobar), EE->mo);
  print("---  CD:  %f | %d\n", real(EE->cdbar), EE->cd);
  print("---  FIT: %f | %d\n", real(EE->fitbar), EE->fit);
  print("---  FIO: %f | %d\n", real(EE->fiobar), EE->fio);
  print("---  TP:  %f\n", real(EE->tpbar));
  print("---  OP:  %f\n", real(EE->opbar));
  print("%s", kClosingRule);
}

void write_table_head(Printer& print, const char* title, const orvoIdMatrix& map) {
  print("%s%s%s          object IDs\n%s", kRule, title, kRule, kRule);
  print("E\t|\t\tGT\n");
  print("\t|\t");
  for (int32_t id : map.gt_ids) print("%3d\t", id);
}

void write_identification_map(Printer& print, const orvoEventsEval* EE) {
  const orvoIdMatrix& map = EE->id_map;
  write_table_head(print, "--- Identification map                            ---\n", map);
  print("TP\n-----------------------------------------------------");
  for (uint32_t i = 0; i < map.e_count(); ++i) {
    print("\n%3d\t| ", map.e_ids[i]);
    for (uint32_t j = 0; j < map.gt_count(); ++j) print("\t%3.0f", real(map.at(i, j)));
    print("\t%6.4f", real(EE->e_purity[i]));
  }
  print("\nOP\t| ");
  for (uint32_t j = 0; j < map.gt_count(); ++j) print("\t%6.4f", real(EE->gt_purity[j]));
  print("\n-----------------------------------------------------\n\n");
}

void write_mean_fmeasure(Printer& print, const orvoEventsEval* EE) {
  const orvoIdMatrix& map = EE->id_map;
  write_table_head(print, "---     F-measure - mean                          ---\n", map);
  print("\n-----------------------------------------------------");
  for (uint32_t i = 0; i < map.e_count(); ++i) {
    print("\n%3d\t| ", map.e_ids[i]);
    for (uint32_t j = 0; j < map.gt_count(); ++j) {
      print("\t%3.4f", real(orvo_events_eval_mean_fmeasure(EE, i, j)));
    }
  }
  print("\n-----------------------------------------------------\n\n");
}

void write_frames(Printer& print, const orvoEventsEval* EE) {
  print("%s--- Configuration errors for each frame [t]       ---\n%s", kRule, kClosingRule);
  print("  t; frame; GT amount; FP; FN; MO; MT; CD; FIT; FIO");
  for (uint32_t t = 0; t < EE->frame_count(); ++t) {
    const orvoFrameEval& f = EE->frames[t];
    print("\n%4d; %6d; %3d; %3d; %3d; %3d; %3d; %3d; %3d; %3d", static_cast<int>(t), f.frame,
          static_cast<int>(f.gt.count()), f.fp, f.fn, f.mo, f.mt, f.cd, f.fit, f.fio);
  }
  print("\n-----------------------------------------------------\n\n");
}

void append_format(std::string& into, const char* format, ...) __attribute__((format(printf, 2, 3)));
void append_format(std::string& into, const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  if (length > 0) {
    const size_t at = into.size();
    into.resize(at + static_cast<size_t>(length) + 1);
    std::vsnprintf(into.data() + at, static_cast<size_t>(length) + 1, format, again);
    into.resize(at + static_cast<size_t>(length));
  }
  va_end(again);
}

std::string brief_line(const orvoEventsEval* EE, const std::string& name) {
  orvoClassicLocale classic;
  std::string line;
  append_format(line,
                "%s; %f; %d; %d; %d; %d; %d; %f; %f; %f; %f; %f; %d; %d; %f; %f; %f; %f; \n",
                name.c_str(), real(EE->fmeasure), EE->fn, EE->fp, EE->mt, EE->mo, EE->cd,
                real(EE->fnbar), real(EE->fpbar), real(EE->mtbar), real(EE->mobar),
                real(EE->cdbar), EE->fit, EE->fio, real(EE->fitbar), real(EE->fiobar),
                real(EE->tpbar), real(EE->opbar));
  return line;
}

const char kBriefHeader[] =
    "Sequence; F-Measure; FN; FP; MT; MO; CD; FNbar; FPbar; MTbar; MObar; CDbar; FIT; FIO; "
    "FITbar; FIObar; TPbar; OPbar\n";

int fail(std::string* why, const std::string& path, const std::string& reason) {
  if (why) *why = orvo_file_message(path, reason);
  return -1;
}

}  // namespace

std::string orvo_events_eval_sequence_name(const std::string& sequence_path) {
  const size_t separator = sequence_path.find_last_of("/\\");
  if (separator == std::string::npos) return sequence_path;
  // A path that ends in a separator names the separator itself.
  if (separator + 1 == sequence_path.size()) return sequence_path.substr(separator);
  return sequence_path.substr(separator + 1);
}

int orvo_events_eval_write_report(FILE* out, const orvoEventsEval* EE, const std::string& sequence_path) {
  ORVO_REQUIRE(out);
  ORVO_REQUIRE(EE);
  orvoClassicLocale classic;
  Printer print(out);
  print("Orvo Tracking Evaluator Console 1.3\n\n\n");
  write_parameters(print, EE, orvo_events_eval_sequence_name(sequence_path));
  write_quality(print, EE);
  write_sequence_errors(print, EE);
  write_identification_map(print, EE);
  write_mean_fmeasure(print, EE);
  write_frames(print, EE);
  return print.ok() ? 1 : -1;
}

int orvo_events_eval_save_report(const std::string& path, const orvoEventsEval* EE,
                                 const std::string& sequence_path, std::string* why) {
  ORVO_REQUIRE(EE);
  orvoReplacingFile file;
  if (!file.open(path, why)) return -1;
  errno = 0;
  if (orvo_events_eval_write_report(file.file(), EE, sequence_path) != 1) {
    // The temporary file goes with `file`; the old report stays.
    return fail(why, path, std::string("could not be written: ") + std::strerror(errno ? errno : EIO));
  }
  return file.commit(why) ? 1 : -1;
}

int orvo_events_eval_save_brief(const std::string& path, const orvoEventsEval* EE,
                                const std::string& sequence_path, std::string* why) {
  ORVO_REQUIRE(EE);
  if (path.empty()) return fail(why, path, "no file name given");
  const std::string line = brief_line(EE, orvo_events_eval_sequence_name(sequence_path));

  // Plain descriptors: the text goes out in one write, and a regular file
  // that takes only part of it is cut back, so it never keeps half a line.
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return fail(why, path, std::string("cannot be opened: ") + std::strerror(errno));
  struct stat st {};
  if (fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    return fail(why, path, std::string("cannot be opened: ") + std::strerror(err));
  }
  const bool regular = S_ISREG(st.st_mode);
  const std::string text = st.st_size == 0 ? kBriefHeader + line : line;
  size_t written = 0;
  int err = 0;
  while (written < text.size()) {
    const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      err = n < 0 ? errno : EIO;
      break;
    }
    written += static_cast<size_t>(n);
  }
  if (err != 0 && written > 0 && regular) {
    const int cut = ftruncate(fd, st.st_size);
    (void)cut;  // best effort: the write error is reported either way
  }
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err != 0) return fail(why, path, std::string("could not be written: ") + std::strerror(err));
  return 1;
}
