// For each size: writes a synthetic Ground Truth and tracker output as text
// files, then, in a fresh process so that peak memory is the evaluation's own,
// times loading both files, orvo_events_eval_process and writing the report.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "orvo_event_set.h"
#include "orvo_events_eval.h"
#include "orvo_events_eval_report.h"
#include "orvo_synth.h"

namespace {

struct Size {
  int32_t frames;
  int32_t objects;
};

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int in_child(const std::function<int()>& work) {
  std::fflush(stdout);
  pid_t pid = fork();
  if (pid < 0) return 1;
  if (pid == 0) {
    const int status = work();
    std::fflush(stdout);
    std::_Exit(status);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

int generate(const Size& size, const std::string& dir) {
  orvoSynthParams params;
  params.seed = 7;
  params.frames = size.frames;
  params.objects = size.objects;
  params.id_switches = 10;
  params.enter_and_leave = false;
  const orvoSynthSequence sequence = orvo_synth_generate(params);
  return orvo_synth_write_truth(dir + "/gt.txt", sequence) &&
                 orvo_synth_write_detections(dir + "/e.txt", sequence)
             ? 0
             : 1;
}

int measure(const Size& size, const std::string& dir) {
  orvoEventsEval* context = orvo_events_eval_new();
  std::string why;
  auto start = std::chrono::steady_clock::now();
  if (orvo_event_set_load(&context->gt, dir + "/gt.txt", &why) != 1 ||
      orvo_event_set_load(&context->e, dir + "/e.txt", &why) != 1) {
    std::fprintf(stderr, "orvo-bench: %s\n", why.c_str());
    return 1;
  }
  const double load = seconds_since(start);
  const double megabytes = static_cast<double>(std::filesystem::file_size(dir + "/gt.txt") +
                                               std::filesystem::file_size(dir + "/e.txt")) / 1e6;

  start = std::chrono::steady_clock::now();
  orvo_events_eval_init(context, 0.33f, 0.1f, nullptr, 0);
  orvo_events_eval_process(context);
  const double process = seconds_since(start);

  start = std::chrono::steady_clock::now();
  if (orvo_events_eval_save_report(dir + "/report.txt", context, dir + "/e.txt", &why) != 1) {
    std::fprintf(stderr, "orvo-bench: %s\n", why.c_str());
    return 1;
  }
  const double report = seconds_since(start);

  struct rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%7d x %3d  %9u %9u  %8.1f MB %7.2f s %7.1f MB/s  %8.2f s  %7.2f s  %8.0f MiB\n",
              size.frames, size.objects, context->gt.event_count(), context->e.event_count(),
              megabytes, load, megabytes / load, process, report,
              static_cast<double>(usage.ru_maxrss) / 1024.0);
  orvo_events_eval_free(context);
  return 0;
}

}  // namespace

int main() {
  const Size sizes[] = {{1000, 20}, {10000, 50}, {100000, 50}};
  std::printf("frames x objects  GT boxes   E boxes     text files    load      load rate     "
              "process    report   peak memory\n");
  for (const Size& size : sizes) {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvo-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 1;
    const std::string dir = pattern;
    int status = in_child([&] { return generate(size, dir); });
    if (status == 0) status = in_child([&] { return measure(size, dir); });
    std::filesystem::remove_all(dir);
    if (status != 0) return status;
  }
  return 0;
}
