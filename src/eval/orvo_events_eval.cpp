#include "orvo_events_eval.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <exception>
#include <functional>
#include <mutex>
#include <new>
#include <thread>
#include <unordered_map>

#include "orvo_require.h"

namespace {

// A box's edges and area, copied out of the set so that the pair loops read
// contiguous memory.
struct Box {
  int32_t x0, y0, x1, y1;
  double area;
};

// orvo_event_set_fmeasure of two boxes known to overlap (or touch), with both
// areas known: the same operations in the same order, so the results are
// identical bit for bit. Boxes that do not overlap score 0 there as well.
inline double overlapping_fmeasure(const Box& a, const Box& b) {
  const int64_t left = std::max(a.x0, b.x0);
  const int64_t right = std::min(a.x1, b.x1);
  const int64_t top = std::max(a.y0, b.y0);
  const int64_t bottom = std::min(a.y1, b.y1);
  const double areas = a.area + b.area;
  if (areas == 0.0) return 0.0;
  return 2.0 * (static_cast<double>(right - left) * static_cast<double>(bottom - top)) / areas;
}

// 1 / max(1, G) in 32 bits: the weight of a frame's counts in the normalised sums.
float frame_weight(uint32_t gt_boxes) { return 1.0f / static_cast<float>(std::max(1u, gt_boxes)); }

// Scratch space of one frame's computation, reused from frame to frame.
struct Workspace {
  std::vector<Box> gt, e;
  std::vector<int32_t> ex0, ey0, ex1, ey1;   // the E boxes' edges, for the overlap sweep
  std::vector<uint32_t> hits;                // boxes that overlap the current one
  std::vector<uint8_t> gt_covers, e_covers;  // coverings per box, saturated at 2
  std::vector<uint32_t> gt_column, e_row;    // id_map column / row of each box
  struct Pair {
    uint32_t gt, e;
  };
  std::vector<Pair> coverings;  // covering box pairs, GT boxes outer, E boxes inner
};

struct TypeFilter {
  const int32_t* types;
  uint32_t count;
};

// The user's filter, else the GT set's own types. An empty GT type list is
// still a list: it takes nothing, so that E boxes are only ever evaluated for
// types that the GT set has.
TypeFilter filter_of(const orvoEventsEval* EE) {
  static const int32_t kNone = 0;
  const std::vector<int32_t>& list = EE->has_type_filter() ? EE->types : EE->gt.types;
  return {list.empty() ? &kNone : list.data(), static_cast<uint32_t>(list.size())};
}

// Steps of the preparation after the selections are made.
void finish_prepare(orvoFrameEval* frame) {
  frame->occluded_count = 0;
  frame->fp = frame->fn = frame->mt = frame->mo = frame->cd = 0;
  frame->fit = frame->fio = 0;
  const uint32_t gt_boxes = frame->gt.count(), e_boxes = frame->e.count();
  orvo_events_eval_matrix_resize(&frame->fmeasure, gt_boxes, e_boxes);
  for (uint32_t j = 0; j < gt_boxes; ++j) frame->fmeasure.gt_ids[j] = frame->gt.events[j]->id;
  for (uint32_t k = 0; k < e_boxes; ++k) frame->fmeasure.e_ids[k] = frame->e.events[k]->id;
  frame->occluded.assign(gt_boxes, 0);
}

void prepare_indexed(orvoFrameEval* frame, orvoEventsEval* EE, int32_t frame_number) {
  frame->eval = EE;
  frame->frame = frame_number;
  const TypeFilter filter = filter_of(EE);
  // Reserving the frame's unfiltered size up front keeps every selection at
  // its exact capacity: no growth slack across a long sequence.
  frame->gt.events.reserve(EE->gt_index.events_of(frame_number).size());
  frame->e.events.reserve(EE->e_index.events_of(frame_number).size());
  orvo_event_set_select_indexed(&frame->gt, &EE->gt, EE->gt_index, frame_number, filter.types,
                                filter.count);
  orvo_event_set_select_indexed(&frame->e, &EE->e, EE->e_index, frame_number, filter.types,
                                filter.count);
  finish_prepare(frame);
}

// Positions k of the E boxes that overlap or touch g, ascending; the only
// pairs whose F-measure can be above 0.
uint32_t overlapping_e(const Box& g, Workspace& ws) {
  const uint32_t count = static_cast<uint32_t>(ws.ex0.size());
  const int32_t* x0 = ws.ex0.data();
  const int32_t* y0 = ws.ey0.data();
  const int32_t* x1 = ws.ex1.data();
  const int32_t* y1 = ws.ey1.data();
  uint32_t* hits = ws.hits.data();
  uint32_t n = 0;
  for (uint32_t k = 0; k < count; ++k) {
    const bool overlap = (std::max(x0[k], g.x0) <= std::min(x1[k], g.x1)) &
                         (std::max(y0[k], g.y0) <= std::min(y1[k], g.y1));
    hits[n] = k;
    n += overlap;
  }
  return n;
}

// cells_zero: the matrix was just sized by the preparation, so its cells are
// already 0 and need not be cleared again.
void compute(orvoFrameEval* frame, float coverage_threshold, float occlusion_threshold,
             Workspace& ws, bool cells_zero) {
  frame->fp = frame->fn = frame->mt = frame->mo = frame->cd = 0;
  frame->fit = frame->fio = 0;
  const uint32_t gt_boxes = frame->gt.count(), e_boxes = frame->e.count();
  ws.gt.resize(gt_boxes);
  ws.e.resize(e_boxes);
  ws.ex0.resize(e_boxes);
  ws.ey0.resize(e_boxes);
  ws.ex1.resize(e_boxes);
  ws.ey1.resize(e_boxes);
  ws.hits.resize(std::max(gt_boxes, e_boxes));
  for (uint32_t j = 0; j < gt_boxes; ++j) {
    const _orvoEvent* g = frame->gt.events[j];
    ws.gt[j] = {g->x0, g->y0, g->x1, g->y1, orvo_event_set_area(g)};
  }
  for (uint32_t k = 0; k < e_boxes; ++k) {
    const _orvoEvent* e = frame->e.events[k];
    ws.e[k] = {e->x0, e->y0, e->x1, e->y1, orvo_event_set_area(e)};
    ws.ex0[k] = e->x0;
    ws.ey0[k] = e->y0;
    ws.ex1[k] = e->x1;
    ws.ey1[k] = e->y1;
  }
  ws.gt_covers.assign(gt_boxes, 0);
  ws.e_covers.assign(e_boxes, 0);
  ws.coverings.clear();

  // A record whose matrix was sized elsewhere must not be written past.
  orvoIdMatrix& matrix = frame->fmeasure;
  if (matrix.gt_count() != gt_boxes || matrix.e_count() != e_boxes) {
    orvo_events_eval_matrix_resize(&matrix, gt_boxes, e_boxes);
    for (uint32_t j = 0; j < gt_boxes; ++j) matrix.gt_ids[j] = frame->gt.events[j]->id;
    for (uint32_t k = 0; k < e_boxes; ++k) matrix.e_ids[k] = frame->e.events[k]->id;
  } else if (!cells_zero) {
    std::fill(matrix.cells.begin(), matrix.cells.end(), 0.0f);
  }
  float* cells = matrix.cells.data();
  for (uint32_t j = 0; j < gt_boxes; ++j) {
    const Box& g = ws.gt[j];
    const uint32_t n = overlapping_e(g, ws);
    for (uint32_t h = 0; h < n; ++h) {
      const uint32_t k = ws.hits[h];
      const float score = static_cast<float>(overlapping_fmeasure(ws.e[k], g));
      cells[static_cast<size_t>(k) * gt_boxes + j] = score;
      if (score > coverage_threshold) {
        if (ws.gt_covers[j] < 2) ++ws.gt_covers[j];
        if (ws.e_covers[k] < 2) ++ws.e_covers[k];
        ws.coverings.push_back({j, k});
      }
    }
  }

  // The occlusion test is symmetric, so each pair of GT boxes is scored once
  // and marks both.
  frame->occluded.assign(gt_boxes, 0);
  const double occlusion = occlusion_threshold;
  for (uint32_t j = 0; j < gt_boxes; ++j) {
    const Box& a = ws.gt[j];
    const int32_t id = frame->gt.events[j]->id;
    for (uint32_t i = j + 1; i < gt_boxes; ++i) {
      const Box& b = ws.gt[i];
      if (std::max(a.x0, b.x0) > std::min(a.x1, b.x1) || std::max(a.y0, b.y0) > std::min(a.y1, b.y1)) {
        continue;
      }
      if (frame->gt.events[i]->id == id) continue;
      if (overlapping_fmeasure(a, b) > occlusion) frame->occluded[j] = frame->occluded[i] = 1;
    }
  }
  int32_t occluded_count = 0;
  for (int32_t flag : frame->occluded) occluded_count += flag;
  frame->occluded_count = occluded_count;

  for (uint32_t j = 0; j < gt_boxes; ++j) {
    if (frame->occluded[j]) continue;
    if (ws.gt_covers[j] == 0) ++frame->fn;
    if (ws.gt_covers[j] > 1) ++frame->mt;
  }
  // With an occluded GT box in the frame the E side is not judged.
  if (occluded_count == 0) {
    for (uint32_t k = 0; k < e_boxes; ++k) {
      if (ws.e_covers[k] == 0) ++frame->fp;
      if (ws.e_covers[k] > 1) ++frame->mo;
    }
    frame->cd = static_cast<int32_t>(int64_t{e_boxes} - int64_t{gt_boxes});
  }
}

// The frame's covering pairs, GT boxes outer and E boxes inner: the order in
// which their F-measures are summed. Read row by row, then ordered by GT box
// (stable, so E boxes stay ascending within each).
void covering_pairs(const orvoFrameEval& frame, float coverage_threshold, Workspace& ws) {
  ws.coverings.clear();
  const uint32_t gt_boxes = frame.gt.count(), e_boxes = frame.e.count();
  const float* cells = frame.fmeasure.cells.data();
  for (uint32_t k = 0; k < e_boxes; ++k) {
    const float* line = cells + static_cast<size_t>(k) * gt_boxes;
    for (uint32_t j = 0; j < gt_boxes; ++j) {
      if (line[j] > coverage_threshold) ws.coverings.push_back({j, k});
    }
  }
  std::stable_sort(ws.coverings.begin(), ws.coverings.end(),
                   [](const Workspace::Pair& a, const Workspace::Pair& b) { return a.gt < b.gt; });
}

// Runs work(t, workspace) for every frame index t, on as many threads as
// there are cores (at most kMaxThreads), each with its own workspace. The
// first exception thrown stops the others and is passed on.
constexpr uint32_t kMaxThreads = 4;
constexpr uint32_t kFramesPerChunk = 64;

template <class Work>
void for_each_frame(uint32_t count, const Work& work) {
  const uint32_t chunks = (count + kFramesPerChunk - 1) / kFramesPerChunk;
  const uint32_t threads =
      std::min({std::max(1u, std::thread::hardware_concurrency()), kMaxThreads, chunks});
  std::atomic<uint64_t> next{0};
  std::mutex error_mutex;
  std::exception_ptr error;
  auto run = [&] {
    Workspace ws;
    try {
      for (;;) {
        const uint64_t begin = next.fetch_add(kFramesPerChunk);
        if (begin >= count) break;
        const uint64_t end = std::min<uint64_t>(count, begin + kFramesPerChunk);
        for (uint64_t t = begin; t < end; ++t) work(static_cast<uint32_t>(t), ws);
      }
    } catch (...) {
      std::lock_guard<std::mutex> lock(error_mutex);
      if (!error) error = std::current_exception();
      next = count;
    }
  };
  std::vector<std::thread> helpers;
  for (uint32_t n = 1; n < threads; ++n) {
    try {
      helpers.emplace_back(run);
    } catch (...) {
      break;  // fewer threads: the work gets done all the same
    }
  }
  run();
  for (std::thread& helper : helpers) helper.join();
  if (error) std::rethrow_exception(error);
}

void collect_ids(const orvoEventSet& set, std::vector<int32_t>& ids,
                 std::vector<uint32_t>& event_position) {
  std::unordered_map<int32_t, uint32_t> position_of;
  ids.clear();
  event_position.resize(set.events.size());
  for (size_t i = 0; i < set.events.size(); ++i) {
    const int32_t id = set.events[i].id;
    auto [it, inserted] = position_of.try_emplace(id, static_cast<uint32_t>(ids.size()));
    if (inserted) ids.push_back(id);
    event_position[i] = it->second;
  }
}

// Each box's id_map column (GT) or row (E), looked up once per frame.
void positions_of(const orvoEventSelection& selection, const orvoEventSet& set,
                  const std::vector<uint32_t>& event_position, std::vector<uint32_t>& out) {
  out.resize(selection.count());
  const _orvoEvent* base = set.events.data();
  for (uint32_t n = 0; n < selection.count(); ++n) out[n] = event_position[selection.events[n] - base];
}

void zero_results(orvoEventsEval* EE) {
  EE->fmeasure = 0.0f;
  EE->fp = EE->fn = EE->mt = EE->mo = EE->cd = EE->fit = EE->fio = 0;
  EE->fpbar = EE->fnbar = EE->mtbar = EE->mobar = EE->cdbar = 0.0f;
  EE->fitbar = EE->fiobar = EE->tpbar = EE->opbar = 0.0f;
}

}  // namespace

orvoEventsEval* orvo_events_eval_new() { return new (std::nothrow) orvoEventsEval(); }

int orvo_events_eval_free(orvoEventsEval* EE) {
  ORVO_REQUIRE(EE);
  delete EE;
  return 1;
}

int orvo_events_eval_init(orvoEventsEval* EE, float coverage_threshold, float occlusion_threshold,
                          const int32_t* types, uint32_t type_count) {
  ORVO_REQUIRE(EE);
  zero_results(EE);
  EE->coverage_threshold = coverage_threshold;
  EE->occlusion_threshold = occlusion_threshold;

  if (type_count == 0 || types == nullptr) {
    EE->types.clear();
  } else {
    // The context's own list may be passed, whole or in part: copy before
    // replacing, and never read past its end.
    const std::less<const int32_t*> before;
    const int32_t* own = EE->types.data();
    if (!EE->types.empty() && !before(types, own) && before(types, own + EE->types.size())) {
      type_count = std::min<uint32_t>(type_count, static_cast<uint32_t>(own + EE->types.size() - types));
    }
    std::vector<int32_t> copy(types, types + type_count);
    EE->types = std::move(copy);
  }

  // Old frame records go first, so that their matrices are released before
  // new ones are made.
  EE->frames.clear();
  EE->frames.resize(EE->gt.frame_count());
  EE->gt_index = orvoFrameIndex();
  EE->e_index = orvoFrameIndex();

  std::vector<int32_t> gt_ids, e_ids;
  collect_ids(EE->gt, gt_ids, EE->gt_event_column);
  collect_ids(EE->e, e_ids, EE->e_event_row);
  const uint32_t gt_count = static_cast<uint32_t>(gt_ids.size());
  const uint32_t e_count = static_cast<uint32_t>(e_ids.size());
  orvo_events_eval_matrix_resize(&EE->id_map, gt_count, e_count);
  EE->id_map.gt_ids = std::move(gt_ids);
  EE->id_map.e_ids = std::move(e_ids);
  EE->fsum_map = EE->id_map;

  EE->gt_frames.assign(gt_count, 0);
  EE->gt_fmeasure.assign(gt_count, 0.0f);
  EE->gt_purity.assign(gt_count, 0.0f);
  EE->gt_tracker.assign(gt_count, -1);
  EE->e_frames.assign(e_count, 0);
  EE->e_purity.assign(e_count, 0.0f);
  EE->e_object.assign(e_count, -1);
  return 1;
}

int orvo_events_eval_process(orvoEventsEval* EE) {
  if (EE == nullptr || EE->frame_count() == 0) return -1;
  orvo_events_eval_init(EE, EE->coverage_threshold, EE->occlusion_threshold, EE->types.data(),
                        EE->type_count());
  // The GT set may have lost its frames since the last init.
  if (EE->frame_count() == 0) return -1;
  EE->gt_index.build(EE->gt);
  EE->e_index.build(EE->e);

  const float coverage = EE->coverage_threshold;
  const uint32_t gt_ids = EE->id_map.gt_count(), e_ids = EE->id_map.e_count();
  float* id_cells = EE->id_map.cells.data();
  float* fsum_cells = EE->fsum_map.cells.data();
  // Frames are matched independently of each other, so that part runs on
  // several threads; everything summed in frame order follows on this one.
  // Each frame's covering pairs are kept for the two passes unless there are
  // more than a few per box; those frames are scanned again instead, so the
  // pairs never cost more memory than the boxes do.
  const float occlusion = EE->occlusion_threshold;
  std::vector<std::vector<Workspace::Pair>> kept(EE->frame_count());
  std::vector<uint8_t> rescan(EE->frame_count(), 0);
  for_each_frame(EE->frame_count(), [&](uint32_t t, Workspace& ws) {
    orvoFrameEval& frame = EE->frames[t];
    prepare_indexed(&frame, EE, EE->gt.frames[t]);
    compute(&frame, coverage, occlusion, ws, true);
    if (ws.coverings.size() <= 2 * (size_t{frame.gt.count()} + frame.e.count())) {
      kept[t].assign(ws.coverings.begin(), ws.coverings.end());
    } else {
      rescan[t] = 1;
    }
  });
  Workspace ws;
  auto coverings_of = [&](uint32_t t) -> const std::vector<Workspace::Pair>& {
    if (!rescan[t]) return kept[t];
    covering_pairs(EE->frames[t], coverage, ws);
    return ws.coverings;
  };

  // First pass of the identification statistics, configuration sums.
  for (uint32_t t = 0; t < EE->frame_count(); ++t) {
    const orvoFrameEval& frame = EE->frames[t];
    positions_of(frame.gt, EE->gt, EE->gt_event_column, ws.gt_column);
    positions_of(frame.e, EE->e, EE->e_event_row, ws.e_row);
    for (uint32_t column : ws.gt_column) ++EE->gt_frames[column];
    for (uint32_t row : ws.e_row) ++EE->e_frames[row];
    const float* cells = frame.fmeasure.cells.data();
    for (const Workspace::Pair& pair : coverings_of(t)) {
      const size_t cell = static_cast<size_t>(ws.e_row[pair.e]) * gt_ids + ws.gt_column[pair.gt];
      fsum_cells[cell] += cells[static_cast<size_t>(pair.e) * frame.gt.count() + pair.gt];
      id_cells[cell] += 1.0f;
    }

    const float w = frame_weight(frame.gt.count());
    EE->fpbar += static_cast<float>(frame.fp) * w;
    EE->fnbar += static_cast<float>(frame.fn) * w;
    EE->mobar += static_cast<float>(frame.mo) * w;
    EE->mtbar += static_cast<float>(frame.mt) * w;
    EE->cdbar += static_cast<float>(std::abs(frame.cd)) * w;
    EE->fp += frame.fp;
    EE->fn += frame.fn;
    EE->mo += frame.mo;
    EE->mt += frame.mt;
    EE->cd += frame.cd;
  }

  // Dominant partners, with the statistics of every row and column gathered
  // in one row-major sweep. Strictly greater wins, so among equal maxima the
  // ID met first in its set's events is kept.
  std::vector<float> column_max(gt_ids, 0.0f), column_fsum(gt_ids, 0.0f), row_max(e_ids, 0.0f);
  std::vector<uint64_t> column_coverings(gt_ids, 0);
  for (uint32_t i = 0; i < e_ids; ++i) {
    const float* counts = id_cells + static_cast<size_t>(i) * gt_ids;
    const float* sums = fsum_cells + static_cast<size_t>(i) * gt_ids;
    for (uint32_t j = 0; j < gt_ids; ++j) {
      const float count = counts[j];
      if (count > column_max[j]) {
        column_max[j] = count;
        EE->gt_tracker[j] = static_cast<int32_t>(i);
      }
      if (count > row_max[i]) {
        row_max[i] = count;
        EE->e_object[i] = static_cast<int32_t>(j);
      }
      column_coverings[j] += static_cast<uint64_t>(count);
      column_fsum[j] += sums[j];
    }
  }

  // Second pass: identification errors of the coverings of unoccluded objects.
  for (uint32_t t = 0; t < EE->frame_count(); ++t) {
    orvoFrameEval& frame = EE->frames[t];
    positions_of(frame.gt, EE->gt, EE->gt_event_column, ws.gt_column);
    positions_of(frame.e, EE->e, EE->e_event_row, ws.e_row);
    int32_t fit = 0, fio = 0;
    for (const Workspace::Pair& pair : coverings_of(t)) {
      if (frame.occluded[pair.gt]) continue;
      const uint32_t row = ws.e_row[pair.e], column = ws.gt_column[pair.gt];
      if (EE->gt_tracker[column] != static_cast<int32_t>(row)) ++fio;
      if (EE->e_object[row] != static_cast<int32_t>(column)) ++fit;
    }
    frame.fit = fit;
    frame.fio = fio;
    const float w = frame_weight(frame.gt.count());
    EE->fitbar += static_cast<float>(fit) * w;
    EE->fiobar += static_cast<float>(fio) * w;
    EE->fit += fit;
    EE->fio += fio;
  }

  const float W = 1.0f / static_cast<float>(std::max(1u, EE->frame_count()));
  EE->fpbar *= W;
  EE->fnbar *= W;
  EE->mtbar *= W;
  EE->mobar *= W;
  EE->cdbar *= W;
  EE->fitbar *= W;
  EE->fiobar *= W;

  // Purities and F-measures. A mean over no positive purity, or over no
  // object at all, is 0.
  float f_sum = 0.0f, op_sum = 0.0f, tp_sum = 0.0f;
  uint32_t op_count = 0, tp_count = 0;
  for (uint32_t j = 0; j < gt_ids; ++j) {
    const int32_t present = EE->gt_frames[j];
    EE->gt_purity[j] = present == 0 ? 0.0f : column_max[j] / static_cast<float>(present);
    EE->gt_fmeasure[j] = column_coverings[j] == 0
                             ? 0.0f
                             : column_fsum[j] / static_cast<float>(column_coverings[j]);
    f_sum += EE->gt_fmeasure[j];
    op_sum += EE->gt_purity[j];
    if (EE->gt_purity[j] > 0.0f) ++op_count;
  }
  EE->fmeasure = gt_ids == 0 ? 0.0f : f_sum / static_cast<float>(gt_ids);
  EE->opbar = op_count == 0 ? 0.0f : op_sum / static_cast<float>(op_count);
  for (uint32_t i = 0; i < e_ids; ++i) {
    const int32_t present = EE->e_frames[i];
    EE->e_purity[i] = present == 0 ? 0.0f : row_max[i] / static_cast<float>(present);
    tp_sum += EE->e_purity[i];
    if (EE->e_purity[i] > 0.0f) ++tp_count;
  }
  EE->tpbar = tp_count == 0 ? 0.0f : tp_sum / static_cast<float>(tp_count);
  return 1;
}

float orvo_events_eval_mean_fmeasure(const orvoEventsEval* EE, uint32_t row, uint32_t col) {
  ORVO_REQUIRE(EE);
  const float count = EE->id_map.at(row, col);
  return count == 0.0f ? 0.0f : EE->fsum_map.at(row, col) / count;
}

int orvo_events_eval_frame(orvoEventsEval* EE, uint32_t index) {
  if (EE == nullptr || index >= EE->frame_count() || index >= EE->gt.frame_count()) return -1;
  orvoFrameEval* frame = &EE->frames[index];
  orvo_events_eval_frame_prepare(frame, EE, EE->gt.frames[index]);
  return orvo_events_eval_frame_compute(frame, EE->coverage_threshold, EE->occlusion_threshold);
}

orvoFrameEval* orvo_events_eval_frame_new() { return new (std::nothrow) orvoFrameEval(); }

int orvo_events_eval_frame_free(orvoFrameEval* frame) {
  delete frame;
  return 0;
}

int orvo_events_eval_frame_prepare(orvoFrameEval* frame, orvoEventsEval* EE, int32_t frame_number) {
  if (frame == nullptr || EE == nullptr) return -1;
  frame->eval = EE;
  frame->frame = frame_number;
  const TypeFilter filter = filter_of(EE);
  orvo_event_set_select(&frame->gt, &EE->gt, frame_number, filter.types, filter.count);
  orvo_event_set_select(&frame->e, &EE->e, frame_number, filter.types, filter.count);
  finish_prepare(frame);
  return 1;
}

int orvo_events_eval_frame_compute(orvoFrameEval* frame, float coverage_threshold,
                                   float occlusion_threshold) {
  if (frame == nullptr) return -1;
  Workspace ws;
  compute(frame, coverage_threshold, occlusion_threshold, ws, false);
  return 0;
}

orvoIdMatrix* orvo_events_eval_matrix_new() { return new orvoIdMatrix(); }

int orvo_events_eval_matrix_resize(orvoIdMatrix* matrix, uint32_t gt_count, uint32_t e_count) {
  if (matrix == nullptr) return -1;
  // Fresh arrays rather than resized ones: a smaller matrix gives its memory back.
  matrix->cells = std::vector<float>(static_cast<size_t>(gt_count) * e_count, 0.0f);
  matrix->gt_ids = std::vector<int32_t>(gt_count, 0);
  matrix->e_ids = std::vector<int32_t>(e_count, 0);
  return matrix->cells.empty() ? -1 : 0;
}

orvoIdMatrix* orvo_events_eval_matrix_clone(const orvoIdMatrix* matrix) {
  ORVO_REQUIRE(matrix);
  return new orvoIdMatrix(*matrix);
}

int orvo_events_eval_matrix_free(orvoIdMatrix* matrix) {
  delete matrix;
  return 0;
}

int orvo_events_eval_matrix_find_gt(const orvoIdMatrix* matrix, int32_t id) {
  ORVO_REQUIRE(matrix);
  auto it = std::find(matrix->gt_ids.begin(), matrix->gt_ids.end(), id);
  return it == matrix->gt_ids.end() ? -1 : static_cast<int>(it - matrix->gt_ids.begin());
}

int orvo_events_eval_matrix_find_e(const orvoIdMatrix* matrix, int32_t id) {
  ORVO_REQUIRE(matrix);
  auto it = std::find(matrix->e_ids.begin(), matrix->e_ids.end(), id);
  return it == matrix->e_ids.end() ? -1 : static_cast<int>(it - matrix->e_ids.begin());
}
