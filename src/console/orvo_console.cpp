// orvo-console: evaluates one sequence from the command line and writes the
// same report files as the desktop application.
#include <CLI/CLI.hpp>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "orvo_event_add.h"
#include "orvo_event_set.h"
#include "orvo_events_eval.h"
#include "orvo_events_eval_report.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

struct SetSource {
  std::string path;
  int32_t type = 0;
  int32_t offset = 0;
  bool interpolate = false;
};

struct Options {
  SetSource gt, e;
  std::string coverage = "0.33";
  std::string occlusion = "0.1";
  std::string types;
  std::string name;
  std::string report;
  std::string brief;
};

struct UsageError {
  std::string message;
};

// Thresholds always take "." as the decimal point, whatever the locale.
float parse_threshold(const std::string& text, const char* option) {
  double value = 0.0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    throw UsageError{std::string(option) + ": \"" + text + "\" is not a number"};
  }
  return static_cast<float>(value);
}

std::vector<int32_t> parse_types(const std::string& text) {
  std::vector<int32_t> types;
  size_t start = 0;
  while (true) {
    size_t comma = text.find(',', start);
    std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    int32_t value = 0;
    auto [end, ec] = std::from_chars(item.data(), item.data() + item.size(), value);
    if (item.empty() || ec != std::errc() || end != item.data() + item.size()) {
      throw UsageError{"--types: \"" + text + "\" is not a comma-separated list of event types"};
    }
    types.push_back(value);
    if (comma == std::string::npos) return types;
    start = comma + 1;
  }
}

void add_set_options(CLI::App& app, const std::string& prefix, const std::string& which, SetSource& source) {
  app.add_option("--" + prefix + "-type", source.type,
                 "event type given to the events of a " + which + " text file")
      ->default_val(0);
  app.add_option("--" + prefix + "-offset", source.offset,
                 "added to every object ID of the " + which + " file when above 0")
      ->default_val(0);
  app.add_flag("--" + prefix + "-interpolate", source.interpolate,
               "interpolate the " + which + " boxes to every frame");
}

// As adding a file in the window does: empty the target, read the file into a
// fresh set, shift its IDs, interpolate if asked, merge.
bool load_set(orvoEventSet* target, const SetSource& source, const char* which, std::string& error) {
  orvo_event_set_reset(target, 0);
  std::unique_ptr<orvoEventSet, decltype(&orvo_event_set_free)> fresh(orvo_event_set_new(),
                                                                       &orvo_event_set_free);
  fresh->default_type = source.type;
  std::string why;
  if (orvo_event_set_load(fresh.get(), source.path, &why) != 1) {
    error = std::string(which) + " file " + why;
    return false;
  }
  orvo_event_set_offset_ids(fresh.get(), source.offset);
  if (source.interpolate && InterpolateEventSet(fresh.get()) != 1) {
    error = std::string(which) + " file \"" + source.path +
            "\": too many boxes to interpolate (an object spans too many frames)";
    return false;
  }
  orvo_event_set_merge(target, fresh.get());
  return true;
}

int fail(const std::string& message) {
  std::fprintf(stderr, "orvo-console: %s\n", message.c_str());
  return kExitFailure;
}

int evaluate(const Options& options) {
  const float coverage = parse_threshold(options.coverage, "--coverage");
  const float occlusion = parse_threshold(options.occlusion, "--occlusion");
  const std::vector<int32_t> types = options.types.empty() ? std::vector<int32_t>{}
                                                           : parse_types(options.types);

  std::unique_ptr<orvoEventsEval, decltype(&orvo_events_eval_free)> context(orvo_events_eval_new(),
                                                                            &orvo_events_eval_free);
  if (!context) return fail("out of memory");
  std::string error;
  if (!load_set(&context->gt, options.gt, "Ground Truth", error)) return fail(error);
  if (!load_set(&context->e, options.e, "Estimation", error)) return fail(error);

  orvo_events_eval_init(context.get(), coverage, occlusion, types.empty() ? nullptr : types.data(),
                        static_cast<uint32_t>(types.size()));
  if (orvo_events_eval_process(context.get()) != 1) {
    return fail("Ground Truth file \"" + options.gt.path + "\" has no frames to evaluate");
  }

  const std::string& name = options.name.empty() ? options.e.path : options.name;
  std::string why;
  if (options.report.empty()) {
    if (orvo_events_eval_write_report(stdout, context.get(), name) != 1 || std::fflush(stdout) != 0) {
      return fail("the report could not be written to standard output");
    }
  } else if (orvo_events_eval_save_report(options.report, context.get(), name, &why) != 1) {
    return fail("report " + why);
  }
  if (!options.brief.empty() && orvo_events_eval_save_brief(options.brief, context.get(), name, &why) != 1) {
    return fail("brief result " + why);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Evaluates a tracker's output (E_FILE) against the Ground Truth (GT_FILE) of one "
               "sequence and writes the full report, and optionally a brief result line.",
               "orvo-console"};
  Options options;
  app.add_option("-c,--coverage", options.coverage, "coverage threshold")->default_val("0.33");
  app.add_option("-o,--occlusion", options.occlusion, "occlusion threshold")->default_val("0.1");
  app.add_option("-t,--types", options.types,
                 "comma-separated event types to evaluate (default: the Ground Truth's own types)");
  add_set_options(app, "gt", "Ground Truth", options.gt);
  add_set_options(app, "e", "Estimation", options.e);
  app.add_option("--name", options.name,
                 "sequence name for the reports, its last path component is printed (default: E_FILE)");
  app.add_option("-r,--report", options.report,
                 "write the full report to FILE (default: standard output)");
  app.add_option("-b,--brief", options.brief,
                 "append the brief result line to FILE, with the header when FILE is new or empty");
  app.add_option("GT_FILE", options.gt.path, "Ground Truth event file (.txt or .xml)")->required();
  app.add_option("E_FILE", options.e.path, "Estimation event file (.txt or .xml)")->required();
  app.set_version_flag("--version", "orvo-console 1.3");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kExitUsage;
  }
  try {
    return evaluate(options);
  } catch (const UsageError& e) {
    std::fprintf(stderr, "orvo-console: %s\n", e.message.c_str());
    return kExitUsage;
  } catch (const std::bad_alloc&) {
    return fail("out of memory");
  }
}
