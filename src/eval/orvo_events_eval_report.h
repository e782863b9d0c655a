// The result files of an evaluation: the full text report and the brief
// result line that collects many sequences in one file. Both read a context
// on which orvo_events_eval_process has run and change nothing in it; reals
// are printed with "." whatever the user's locale.
#pragma once

#include <cstdio>
#include <string>

#include "orvo_events_eval.h"

// The name printed for a sequence: what follows the last "/" or "\" of the
// path; the whole path without one; the separator itself when the path ends
// in one.
std::string orvo_events_eval_sequence_name(const std::string& sequence_path);

// Streams the full report; 1, or -1 when writing failed.
int orvo_events_eval_write_report(FILE* out, const orvoEventsEval* EE, const std::string& sequence_path);
// Writes the full report to path through a temporary file beside it, renamed
// over it once complete, so an existing report survives a failed write.
// 1, or -1 with *why.
int orvo_events_eval_save_report(const std::string& path, const orvoEventsEval* EE,
                                 const std::string& sequence_path, std::string* why = nullptr);
// Appends the brief line, the header first when the file is empty or new. A
// failed append leaves the file as it was. 1, or -1 with *why.
int orvo_events_eval_save_brief(const std::string& path, const orvoEventsEval* EE,
                                const std::string& sequence_path, std::string* why = nullptr);
