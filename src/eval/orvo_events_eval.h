// The evaluation engine: compares a tracker's Estimation set (E) with the
// Ground Truth (GT) frame by frame and over the whole sequence.
//
// Procedural like the event-set module: records with public fields that the
// window and the report writers read directly, free functions that take the
// record first. The context owns both sets, one frame record per GT frame and
// every result; results stay valid until the next init or process.
#pragma once

#include <cstdint>
#include <vector>

#include "orvo_event_set.h"
#include "orvo_frame_index.h"

struct orvoEventsEval;

// A matrix of 32-bit reals, one row per E ID and one column per GT ID (in a
// frame record: per E box and per GT box). Row-major: cell (i, j) is entry
// i * gt_count() + j of `cells`.
struct orvoIdMatrix {
  std::vector<float> cells;
  std::vector<int32_t> gt_ids;  // ID of each column
  std::vector<int32_t> e_ids;   // ID of each row

  uint32_t gt_count() const { return static_cast<uint32_t>(gt_ids.size()); }
  uint32_t e_count() const { return static_cast<uint32_t>(e_ids.size()); }
  float at(uint32_t row, uint32_t col) const {
    return cells[static_cast<size_t>(row) * gt_ids.size() + col];
  }
};

// One GT frame's result. The selections point into the context's sets and go
// stale when a set changes, until the next process.
struct orvoFrameEval {
  orvoEventsEval* eval = nullptr;  // owner, not owned
  int32_t frame = 0;
  orvoEventSelection gt;           // the frame's GT boxes after the type filter
  orvoEventSelection e;            // the frame's E boxes after the type filter
  orvoIdMatrix fmeasure;           // box F-measure, E box (row) against GT box (column)
  std::vector<int32_t> occluded;   // per GT box: 1 when occluded
  int32_t occluded_count = 0;
  int32_t fp = 0, fn = 0, mt = 0, mo = 0, cd = 0;  // configuration errors; cd is signed
  int32_t fit = 0, fio = 0;                        // identification errors
};

struct orvoEventsEval {
  orvoEventSet gt;  // filled in place by the callers
  orvoEventSet e;
  std::vector<orvoFrameEval> frames;  // one per entry of gt.frames at the last init
  std::vector<int32_t> types;         // the user's type filter; empty: none

  orvoIdMatrix id_map;    // coverings of object (column) by tracker (row)
  orvoIdMatrix fsum_map;  // sums of the F-measures of those coverings
  std::vector<int32_t> gt_frames;  // per column: GT boxes of the object over the evaluated frames
  std::vector<int32_t> e_frames;   // per row: E boxes of the tracker over the evaluated frames
  std::vector<float> gt_fmeasure;  // per column: mean F-measure of the object's coverings
  std::vector<float> gt_purity;    // per column: object purity
  std::vector<float> e_purity;     // per row: tracker purity
  // The dominant partners: per column the row of the object's tracker, per
  // row the column of the tracker's object; -1 for none.
  std::vector<int32_t> gt_tracker;
  std::vector<int32_t> e_object;

  float fmeasure = 0.0f;
  int32_t fp = 0, fn = 0, mt = 0, mo = 0, cd = 0, fit = 0, fio = 0;
  float fpbar = 0.0f, fnbar = 0.0f, mtbar = 0.0f, mobar = 0.0f, cdbar = 0.0f;
  float fitbar = 0.0f, fiobar = 0.0f, tpbar = 0.0f, opbar = 0.0f;
  float coverage_threshold = 0.0f;
  float occlusion_threshold = 0.0f;

  // Lookups built by init and process, valid while the sets are unchanged.
  std::vector<uint32_t> gt_event_column;  // per event of gt: column of its ID
  std::vector<uint32_t> e_event_row;      // per event of e: row of its ID
  orvoFrameIndex gt_index, e_index;       // built by process

  uint32_t frame_count() const { return static_cast<uint32_t>(frames.size()); }
  uint32_t type_count() const { return static_cast<uint32_t>(types.size()); }
  bool has_type_filter() const { return !types.empty(); }
};

// A new context: empty sets, no frames, no filter, every number 0; nullptr
// when memory is short.
orvoEventsEval* orvo_events_eval_new();
int orvo_events_eval_free(orvoEventsEval* EE);
// Stores the thresholds and the type filter (type_count 0: none; the
// context's own `types` may be passed), zeroes every result, makes one empty
// frame record per GT frame and collects the IDs of both sets in order of
// first appearance into the maps. Returns 1.
int orvo_events_eval_init(orvoEventsEval* EE, float coverage_threshold, float occlusion_threshold,
                          const int32_t* types, uint32_t type_count);
// Evaluates the sequence afresh (it re-initialises with the context's own
// thresholds and filter). -1 when EE is null or there are no frames to
// evaluate.
int orvo_events_eval_process(orvoEventsEval* EE);
// Mean box F-measure of the coverings of object `col` by tracker `row`:
// fsum_map over id_map, 0 when they never met.
float orvo_events_eval_mean_fmeasure(const orvoEventsEval* EE, uint32_t row, uint32_t col);

// Prepares and computes the frame record at `index` for the GT frame at the
// same index (plain selections). The compute step's result; -1 for a null
// context or an index beyond the frame records.
int orvo_events_eval_frame(orvoEventsEval* EE, uint32_t index);
orvoFrameEval* orvo_events_eval_frame_new();
int orvo_events_eval_frame_free(orvoFrameEval* frame);
// Selects the frame's GT and E boxes with the context's filter (the GT set's
// own types when there is none), zeroes the counts and sizes the matrix.
// 1, or -1 when a pointer is null.
int orvo_events_eval_frame_prepare(orvoFrameEval* frame, orvoEventsEval* EE, int32_t frame_number);
// Fills the F-measure matrix and the occlusion flags and counts the
// configuration errors. 0, or -1 for a null record.
int orvo_events_eval_frame_compute(orvoFrameEval* frame, float coverage_threshold,
                                   float occlusion_threshold);

orvoIdMatrix* orvo_events_eval_matrix_new();
// Sizes to gt_count columns and e_count rows, every entry 0. -1 when the
// matrix is null or ends without cells (either count 0); the sizes are set
// in any case.
int orvo_events_eval_matrix_resize(orvoIdMatrix* matrix, uint32_t gt_count, uint32_t e_count);
orvoIdMatrix* orvo_events_eval_matrix_clone(const orvoIdMatrix* matrix);
int orvo_events_eval_matrix_free(orvoIdMatrix* matrix);
// First column (row) whose ID equals `id`, or -1.
int orvo_events_eval_matrix_find_gt(const orvoIdMatrix* matrix, int32_t id);
int orvo_events_eval_matrix_find_e(const orvoIdMatrix* matrix, int32_t id);
