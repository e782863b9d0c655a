#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "eval_support.h"

namespace {

// Every cell and occlusion flag of a frame against the plain geometry of the
// event module.
void expect_plain_geometry(const orvoFrameEval& f, float occlusion, const std::string& where) {
  ASSERT_EQ(f.fmeasure.gt_count(), f.gt.count()) << where;
  ASSERT_EQ(f.fmeasure.e_count(), f.e.count()) << where;
  ASSERT_EQ(f.fmeasure.cells.size(), size_t{f.gt.count()} * f.e.count()) << where;
  ASSERT_EQ(f.occluded.size(), f.gt.count()) << where;
  int32_t occluded = 0;
  for (uint32_t j = 0; j < f.gt.count(); ++j) {
    EXPECT_EQ(f.fmeasure.gt_ids[j], f.gt.events[j]->id) << where;
    const int32_t expected = orvo_event_set_is_occluded(f.gt.events[j], &f.gt, occlusion) ? 1 : 0;
    EXPECT_EQ(f.occluded[j], expected) << where << " GT box " << j;
    occluded += expected;
    for (uint32_t k = 0; k < f.e.count(); ++k) {
      EXPECT_EQ(f.fmeasure.at(k, j),
                static_cast<float>(orvo_event_set_fmeasure(f.e.events[k], f.gt.events[j])))
          << where << " cell " << k << "," << j;
    }
  }
  for (uint32_t k = 0; k < f.e.count(); ++k) EXPECT_EQ(f.fmeasure.e_ids[k], f.e.events[k]->id) << where;
  EXPECT_EQ(f.occluded_count, occluded) << where;
}

}  // namespace

TEST(EvalFrame, CoverageOcclusionAndConfigurationErrors) {
  struct Case {
    const char* name;
    std::vector<_orvoEvent> gt, e;
    float coverage, occlusion;
    int32_t fp, fn, mt, mo, cd, occluded;
  } cases[] = {
      {"two trackers on one object",
       {box(1, 1, 0, 0, 10, 10)}, {box(1, 1, 0, 0, 10, 10), box(1, 2, 1, 0, 11, 10)},
       0.33f, 0.1f, 0, 0, 1, 0, +1, 0},
      {"one tracker on two objects",
       {box(1, 1, 0, 0, 10, 10), box(1, 2, 12, 0, 22, 10)}, {box(1, 1, 0, 0, 22, 10)},
       0.33f, 0.1f, 0, 0, 0, 1, -1, 0},
      {"occluded objects are exempt and the E side is not judged",
       {box(1, 1, 0, 0, 10, 10), box(1, 2, 5, 0, 15, 10)}, {box(1, 1, 100, 100, 110, 110)},
       0.33f, 0.1f, 0, 0, 0, 0, 0, 2},
      {"covered occluded objects count no MT",
       {box(1, 1, 0, 0, 10, 10), box(1, 2, 5, 0, 15, 10)},
       {box(1, 1, 0, 0, 10, 10), box(1, 2, 0, 0, 10, 10)}, 0.33f, 0.1f, 0, 0, 0, 0, 0, 2},
      {"one occluded pair stops judging every E box of the frame",
       {box(1, 1, 0, 0, 10, 10), box(1, 2, 5, 0, 15, 10), box(1, 3, 50, 50, 60, 60)},
       {box(1, 1, 50, 50, 60, 60), box(1, 2, 200, 200, 210, 210)}, 0.33f, 0.1f, 0, 0, 0, 0, 0, 2},
      {"score equal to the threshold does not cover",
       {box(1, 1, 0, 0, 10, 10)}, {box(1, 1, 5, 0, 15, 10)}, 0.5f, 0.1f, 1, 1, 0, 0, 0, 0},
      {"score just above the threshold covers",
       {box(1, 1, 0, 0, 10, 10)}, {box(1, 1, 5, 0, 15, 10)}, 0.49f, 0.1f, 0, 0, 0, 0, 0, 0},
      {"score 0.33 against the default threshold 0.33",
       {box(1, 1, 0, 0, 100, 1)}, {box(1, 1, 67, 0, 167, 1)}, 0.33f, 0.1f, 1, 1, 0, 0, 0, 0},
      {"touching boxes never cover",
       {box(1, 1, 0, 0, 10, 10)}, {box(1, 1, 10, 0, 20, 10)}, 0.0f, 0.1f, 1, 1, 0, 0, 0, 0},
      {"boxes without area score 0",
       {box(1, 1, 5, 5, 5, 5)}, {box(1, 1, 5, 5, 5, 5)}, 0.0f, 0.1f, 1, 1, 0, 0, 0, 0},
      {"inverted boxes never overlap",
       {box(1, 1, 10, 10, 0, 0)}, {box(1, 1, 10, 10, 0, 0)}, 0.33f, 0.1f, 1, 1, 0, 0, 0, 0},
      {"objects overlapping above the occlusion threshold",
       {box(1, 1, 0, 0, 10, 10), box(1, 2, 8, 0, 18, 10)}, {}, 0.33f, 0.1f, 0, 0, 0, 0, 0, 2},
      {"objects overlapping exactly at the occlusion threshold",
       {box(1, 1, 0, 0, 10, 10), box(1, 2, 8, 0, 18, 10)}, {}, 0.33f, 0.2f, 0, 2, 0, 0, -2, 0},
      {"boxes of one object never occlude each other",
       {box(1, 1, 0, 0, 10, 10), box(1, 1, 2, 0, 12, 10)}, {}, 0.33f, 0.1f, 0, 2, 0, 0, -2, 0},
      {"a frame without E boxes",
       {box(1, 1, 0, 0, 10, 10)}, {}, 0.33f, 0.1f, 0, 1, 0, 0, -1, 0},
      {"a frame without GT boxes",
       {}, {box(1, 1, 0, 0, 10, 10), box(1, 2, 0, 0, 5, 5), box(1, 3, 9, 9, 20, 20)},
       0.33f, 0.1f, 3, 0, 0, 0, +3, 0},
  };
  for (const Case& c : cases) {
    EvalPtr EE = evaluate(c.gt, c.e, {1}, c.coverage, c.occlusion);
    ASSERT_EQ(EE->frame_count(), 1u) << c.name;
    const orvoFrameEval& f = EE->frames[0];
    EXPECT_EQ(f.frame, 1) << c.name;
    EXPECT_EQ(f.eval, EE.get()) << c.name;
    EXPECT_EQ(f.gt.count(), c.gt.size()) << c.name;
    EXPECT_EQ(f.e.count(), c.e.size()) << c.name;
    EXPECT_EQ(f.fp, c.fp) << c.name;
    EXPECT_EQ(f.fn, c.fn) << c.name;
    EXPECT_EQ(f.mt, c.mt) << c.name;
    EXPECT_EQ(f.mo, c.mo) << c.name;
    EXPECT_EQ(f.cd, c.cd) << c.name;
    EXPECT_EQ(f.occluded_count, c.occluded) << c.name;
    expect_plain_geometry(f, c.occlusion, c.name);
  }
}

TEST(EvalFrame, TypeFilterAppliesToBothSetsAndDefaultsToTheGtTypes) {
  // GT from a text file of type 0, E from one of type 1.
  const std::vector<_orvoEvent> gt = {box(1, 1, 0, 0, 10, 10, 0)};
  const std::vector<_orvoEvent> e = {box(1, 1, 0, 0, 10, 10, 1)};
  struct Case {
    std::vector<int32_t> types;
    uint32_t gt_boxes, e_boxes;
    int32_t fp, fn;
  } cases[] = {
      {{}, 1, 0, 0, 1},      // E type 1 never occurs in the GT set
      {{1}, 0, 1, 1, 0},
      {{1, 0}, 1, 1, 0, 0},
      {{7}, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    EvalPtr EE = evaluate(gt, e, {1}, 0.33f, 0.1f, c.types);
    const orvoFrameEval& f = EE->frames[0];
    EXPECT_EQ(f.gt.count(), c.gt_boxes) << c.types.size();
    EXPECT_EQ(f.e.count(), c.e_boxes) << c.types.size();
    EXPECT_EQ(f.fp, c.fp) << c.types.size();
    EXPECT_EQ(f.fn, c.fn) << c.types.size();
    EXPECT_EQ(EE->types, c.types);
  }
}

TEST(EvalFrame, OnlyListedGtFramesAreEvaluated) {
  // Frame 2 has E boxes (and a GT box) but is not in the GT frame list;
  // frame 3 is listed without any box.
  EvalPtr EE = evaluate({box(1, 1, 0, 0, 10, 10), box(2, 1, 0, 0, 10, 10)},
                        {box(1, 5, 0, 0, 10, 10), box(2, 6, 50, 50, 60, 60), box(2, 5, 0, 0, 10, 10)},
                        {1, 3});
  ASSERT_EQ(EE->frame_count(), 2u);
  EXPECT_EQ(EE->frames[1].frame, 3);
  EXPECT_EQ(EE->frames[1].gt.count() + EE->frames[1].e.count(), 0u);
  EXPECT_EQ(EE->fp, 0);
  EXPECT_EQ(EE->fn, 0);
  EXPECT_EQ(EE->id_map.e_ids, (std::vector<int32_t>{5, 6}));  // IDs come from all events
  EXPECT_EQ(EE->e_frames, (std::vector<int32_t>{1, 0}));
  EXPECT_EQ(EE->gt_frames, (std::vector<int32_t>{1}));
  EXPECT_EQ(EE->id_map.at(0, 0), 1.0f);
}

TEST(EvalSequence, TotalsAndNormalisedSums) {
  struct Case {
    const char* name;
    std::vector<_orvoEvent> gt, e;
    std::vector<int32_t> frames;
    int32_t fp, fn, cd;
    float fpbar, fnbar, cdbar;
  } cases[] = {
      {"frame of four objects with two missed, then an empty frame",
       {box(1, 1, 0, 0, 10, 10), box(1, 2, 20, 0, 30, 10), box(1, 3, 40, 0, 50, 10),
        box(1, 4, 60, 0, 70, 10)},
       {box(1, 1, 0, 0, 10, 10), box(1, 2, 20, 0, 30, 10)},
       {1, 2}, 0, 2, -2, 0.0f, 0.25f, 0.25f},
      {"count differences of -2 and +2 cancel in CD only",
       {box(1, 1, 0, 0, 10, 10), box(1, 2, 20, 0, 30, 10), box(2, 1, 0, 0, 10, 10)},
       {box(2, 1, 100, 100, 110, 110), box(2, 2, 200, 100, 210, 110), box(2, 3, 300, 100, 310, 110)},
       {1, 2}, 3, 3, 0, 1.5f, 1.0f, 1.5f},
      {"a frame without objects weighs its errors by 1",
       {box(1, 1, 0, 0, 10, 10)},
       {box(1, 1, 0, 0, 10, 10), box(2, 1, 0, 0, 10, 10), box(2, 2, 0, 0, 5, 5), box(2, 3, 9, 9, 20, 20)},
       {1, 2}, 3, 0, 3, 1.5f, 0.0f, 1.5f},
  };
  for (const Case& c : cases) {
    EvalPtr EE = evaluate(c.gt, c.e, c.frames);
    EXPECT_EQ(EE->fp, c.fp) << c.name;
    EXPECT_EQ(EE->fn, c.fn) << c.name;
    EXPECT_EQ(EE->cd, c.cd) << c.name;
    EXPECT_EQ(EE->fpbar, c.fpbar) << c.name;
    EXPECT_EQ(EE->fnbar, c.fnbar) << c.name;
    EXPECT_EQ(EE->cdbar, c.cdbar) << c.name;
    EXPECT_EQ(EE->mt + EE->mo, 0) << c.name;
  }
}

TEST(EvalIdentification, PartnersErrorsAndPurities) {
  // Boxes: A sits at (0,0,10,10), B at (50,0,60,10); "off" is far from both.
  struct Case {
    const char* name;
    std::vector<_orvoEvent> gt, e;
    std::vector<int32_t> frames;
    std::vector<int32_t> tracker_of;  // per GT ID in id_map order: the E ID, or -1
    std::vector<int32_t> object_of;   // per E ID in id_map order: the GT ID, or -1
    int32_t fit, fio;
    std::vector<float> gt_purity, e_purity;
  } cases[] = {
      {"a tracker on its object in 8 of 10 frames",
       track(1, 1, 10, 0, 0, 10, 10),
       join({track(1, 1, 8, 0, 0, 10, 10), track(1, 9, 10, 100, 100, 110, 110)}),
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {1}, {1}, 0, 0, {0.8f}, {0.8f}},
      {"an object handed over to a second tracker",
       track(1, 1, 8, 0, 0, 10, 10),
       join({track(1, 1, 5, 0, 0, 10, 10), track(2, 6, 8, 0, 0, 10, 10)}),
       {1, 2, 3, 4, 5, 6, 7, 8}, {1}, {1, 1}, 0, 3, {5.0f / 8}, {1.0f, 1.0f}},
      {"a tracker that jumps to a second object",
       join({track(1, 1, 4, 0, 0, 10, 10), track(2, 5, 8, 50, 0, 60, 10)}),
       join({track(1, 1, 4, 0, 0, 10, 10), track(1, 5, 8, 50, 0, 60, 10)}),
       {1, 2, 3, 4, 5, 6, 7, 8}, {1, 1}, {1}, 4, 0, {1.0f, 1.0f}, {0.5f}},
      {"equal trackers: the E ID met first wins, not the smaller",
       track(1, 1, 4, 0, 0, 10, 10),
       join({track(7, 1, 2, 0, 0, 10, 10), track(3, 3, 4, 0, 0, 10, 10)}),
       {1, 2, 3, 4}, {7}, {1, 1}, 0, 2, {0.5f}, {1.0f, 1.0f}},
      {"equal objects: the GT ID met first wins, not the smaller",
       {box(1, 9, 0, 0, 10, 10), box(2, 2, 50, 0, 60, 10)},
       {box(1, 1, 0, 0, 10, 10), box(2, 1, 50, 0, 60, 10)},
       {1, 2}, {1, 1}, {9}, 1, 0, {1.0f, 1.0f}, {0.5f}},
      {"coverings of occluded objects fill the map but count no errors",
       join({{box(1, 1, 0, 0, 10, 10), box(1, 2, 5, 0, 15, 10)}, track(1, 2, 3, 0, 0, 10, 10)}),
       join({{box(1, 1, 5, 0, 15, 10)}, track(2, 2, 3, 0, 0, 10, 10)}),
       {1, 2, 3}, {2, 1}, {1, 1}, 0, 0, {2.0f / 3, 1.0f}, {1.0f, 1.0f}},
      {"trackers and objects that never meet",
       track(1, 1, 2, 0, 0, 10, 10), track(4, 1, 2, 100, 100, 110, 110),
       {1, 2}, {-1}, {-1}, 0, 0, {0.0f}, {0.0f}},
  };
  for (const Case& c : cases) {
    EvalPtr EE = evaluate(c.gt, c.e, c.frames);
    const orvoIdMatrix& map = EE->id_map;
    std::vector<int32_t> tracker_of, object_of;
    for (int32_t row : EE->gt_tracker) tracker_of.push_back(row < 0 ? -1 : map.e_ids[row]);
    for (int32_t col : EE->e_object) object_of.push_back(col < 0 ? -1 : map.gt_ids[col]);
    EXPECT_EQ(tracker_of, c.tracker_of) << c.name;
    EXPECT_EQ(object_of, c.object_of) << c.name;
    EXPECT_EQ(EE->fit, c.fit) << c.name;
    EXPECT_EQ(EE->fio, c.fio) << c.name;
    EXPECT_EQ(EE->gt_purity, c.gt_purity) << c.name;
    EXPECT_EQ(EE->e_purity, c.e_purity) << c.name;
    int32_t frame_fit = 0, frame_fio = 0;
    for (const orvoFrameEval& f : EE->frames) {
      frame_fit += f.fit;
      frame_fio += f.fio;
    }
    EXPECT_EQ(frame_fit, c.fit) << c.name;
    EXPECT_EQ(frame_fio, c.fio) << c.name;
  }
}

TEST(EvalIdentification, HandedOverObjectCountsFioInTheFramesOfTheSecondTracker) {
  EvalPtr EE = evaluate(track(1, 1, 8, 0, 0, 10, 10),
                        join({track(1, 1, 5, 0, 0, 10, 10), track(2, 6, 8, 0, 0, 10, 10)}),
                        {1, 2, 3, 4, 5, 6, 7, 8});
  for (uint32_t t = 0; t < 8; ++t) EXPECT_EQ(EE->frames[t].fio, t >= 5 ? 1 : 0) << t;
  EXPECT_EQ(EE->fiobar, 3.0f * 0.125f);
  EXPECT_EQ(EE->fitbar, 0.0f);
}

TEST(EvalIdentification, DuplicateBoxesOfOneTrackerCountTwice) {
  EvalPtr EE = evaluate({box(1, 1, 0, 0, 10, 10)}, {box(1, 1, 0, 0, 10, 10), box(1, 1, 1, 0, 11, 10)}, {1});
  EXPECT_EQ(EE->id_map.cells, (std::vector<float>{2.0f}));
  EXPECT_EQ(EE->fsum_map.cells, (std::vector<float>{1.0f + 0.9f}));
  EXPECT_EQ(EE->e_frames, (std::vector<int32_t>{2}));
  EXPECT_EQ(EE->frames[0].mt, 1);
}

TEST(EvalIdentification, FMeasuresAndTheObjectsAFilterRemoves) {
  // A (type 0) is covered with F-measures 1 and 0.5; B (type 5) with 1 twice.
  const std::vector<_orvoEvent> gt = {box(1, 1, 0, 0, 10, 10, 0), box(1, 2, 50, 0, 60, 10, 5),
                                      box(2, 1, 0, 0, 10, 10, 0), box(2, 2, 50, 0, 60, 10, 5)};
  const std::vector<_orvoEvent> e = {box(1, 1, 0, 0, 10, 10, 0), box(1, 2, 50, 0, 60, 10, 5),
                                     box(2, 1, 5, 0, 15, 10, 0), box(2, 2, 50, 0, 60, 10, 5)};
  EvalPtr all = evaluate(gt, e, {1, 2});
  EXPECT_EQ(all->gt_fmeasure, (std::vector<float>{0.75f, 1.0f}));
  EXPECT_EQ(all->fmeasure, 0.875f);
  EXPECT_EQ(all->opbar, 1.0f);
  EXPECT_EQ(orvo_events_eval_mean_fmeasure(all.get(), 0, 0), 0.75f);
  EXPECT_EQ(orvo_events_eval_mean_fmeasure(all.get(), 0, 1), 0.0f);

  EvalPtr filtered = evaluate(gt, e, {1, 2}, 0.33f, 0.1f, {0});
  EXPECT_EQ(filtered->id_map.gt_ids, (std::vector<int32_t>{1, 2}));  // B keeps its column
  EXPECT_EQ(filtered->id_map.cells, (std::vector<float>{2.0f, 0.0f, 0.0f, 0.0f}));
  EXPECT_EQ(filtered->gt_frames, (std::vector<int32_t>{2, 0}));
  EXPECT_EQ(filtered->gt_fmeasure, (std::vector<float>{0.75f, 0.0f}));
  EXPECT_EQ(filtered->gt_purity, (std::vector<float>{1.0f, 0.0f}));
  EXPECT_EQ(filtered->fmeasure, 0.375f);  // B is in the denominator
  EXPECT_EQ(filtered->opbar, 1.0f);       // but not among the purities
  EXPECT_EQ(filtered->tpbar, 1.0f);
}

TEST(EvalIdentification, MeansOverNothingAreZero) {
  struct Case {
    const char* name;
    std::vector<_orvoEvent> gt, e;
  } cases[] = {
      {"GT frames without any object", {}, {box(1, 1, 0, 0, 10, 10)}},
      {"objects and trackers that never meet", {box(1, 1, 0, 0, 10, 10)}, {box(1, 2, 50, 50, 60, 60)}},
      {"no trackers at all", {box(1, 1, 0, 0, 10, 10)}, {}},
  };
  for (const Case& c : cases) {
    EvalPtr EE = evaluate(c.gt, c.e, {1, 2});
    EXPECT_EQ(EE->fmeasure, 0.0f) << c.name;
    EXPECT_EQ(EE->opbar, 0.0f) << c.name;
    EXPECT_EQ(EE->tpbar, 0.0f) << c.name;
  }
}

TEST(EvalContext, InitProcessAndLifecycle) {
  EXPECT_EQ(orvo_events_eval_process(nullptr), -1);
  EvalPtr EE = make_eval();
  EXPECT_EQ(orvo_events_eval_process(EE.get()), -1);  // nothing initialised yet

  fill(EE->gt, {box(1, 1, 0, 0, 10, 10, 3), box(2, 1, 0, 0, 10, 10, 3)}, {1, 2});
  fill(EE->e, {box(1, 4, 0, 0, 10, 10, 3)}, {1});
  const int32_t filter[] = {3, 4};
  EXPECT_EQ(orvo_events_eval_init(EE.get(), 0.5f, 0.25f, filter, 2), 1);
  ASSERT_EQ(EE->frame_count(), 2u);
  EXPECT_EQ(EE->frames[0].gt.count() + EE->frames[0].e.count(), 0u);  // empty until processed
  EXPECT_EQ(EE->id_map.gt_ids, (std::vector<int32_t>{1}));
  EXPECT_EQ(EE->id_map.e_ids, (std::vector<int32_t>{4}));
  EXPECT_EQ(EE->fsum_map.cells, (std::vector<float>{0.0f}));

  // The context's own list may be passed back, whole or in part.
  EXPECT_EQ(orvo_events_eval_init(EE.get(), 0.5f, 0.25f, EE->types.data(), EE->type_count()), 1);
  EXPECT_EQ(EE->types, (std::vector<int32_t>{3, 4}));
  orvo_events_eval_init(EE.get(), 0.5f, 0.25f, EE->types.data() + 1, 5);
  EXPECT_EQ(EE->types, (std::vector<int32_t>{4}));
  orvo_events_eval_init(EE.get(), 0.5f, 0.25f, filter, 2);

  ASSERT_EQ(orvo_events_eval_process(EE.get()), 1);
  EXPECT_EQ(EE->coverage_threshold, 0.5f);
  EXPECT_EQ(EE->occlusion_threshold, 0.25f);
  EXPECT_EQ(EE->types, (std::vector<int32_t>{3, 4}));
  EXPECT_EQ(EE->fmeasure, 1.0f);
  EXPECT_EQ(EE->fn, 1);

  // A re-initialisation zeroes every result and drops the filter.
  orvo_events_eval_init(EE.get(), 0.5f, 0.25f, nullptr, 0);
  EXPECT_FALSE(EE->has_type_filter());
  EXPECT_EQ(EE->fmeasure, 0.0f);
  EXPECT_EQ(EE->fn, 0);
  EXPECT_EQ(EE->id_map.cells, (std::vector<float>{0.0f}));

  // A GT set that lost its frames after the last init is no success.
  orvo_event_set_reset(&EE->gt, 0);
  EXPECT_EQ(orvo_events_eval_process(EE.get()), -1);
  EXPECT_EQ(EE->frame_count(), 0u);
  EXPECT_EQ(EE->id_map.gt_count(), 0u);
}

TEST(EvalContext, FrameAndMatrixOperations) {
  orvoIdMatrix* m = orvo_events_eval_matrix_new();
  struct Case {
    uint32_t gt, e;
    int result;
  } cases[] = {{0, 0, -1}, {2, 0, -1}, {0, 3, -1}, {2, 3, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(orvo_events_eval_matrix_resize(m, c.gt, c.e), c.result) << c.gt << "x" << c.e;
    EXPECT_EQ(m->gt_count(), c.gt);
    EXPECT_EQ(m->e_count(), c.e);
    EXPECT_EQ(m->cells, std::vector<float>(size_t{c.gt} * c.e, 0.0f));
  }
  EXPECT_EQ(orvo_events_eval_matrix_resize(nullptr, 1, 1), -1);
  m->gt_ids = {7, 8};
  m->e_ids = {5, 9, 5};
  m->cells[5] = 2.5f;
  orvoIdMatrix* copy = orvo_events_eval_matrix_clone(m);
  EXPECT_EQ(copy->cells, m->cells);
  EXPECT_EQ(copy->at(2, 1), 2.5f);
  EXPECT_EQ(orvo_events_eval_matrix_find_gt(copy, 8), 1);
  EXPECT_EQ(orvo_events_eval_matrix_find_gt(copy, 5), -1);
  EXPECT_EQ(orvo_events_eval_matrix_find_e(copy, 5), 0);  // the first of two
  EXPECT_EQ(orvo_events_eval_matrix_find_e(copy, 9), 1);
  EXPECT_EQ(orvo_events_eval_matrix_free(copy), 0);
  EXPECT_EQ(orvo_events_eval_matrix_free(m), 0);

  EvalPtr EE = make_eval();
  fill(EE->gt, {box(4, 1, 0, 0, 10, 10)}, {4});
  fill(EE->e, {box(4, 2, 0, 0, 10, 10)}, {4});
  orvo_events_eval_init(EE.get(), 0.33f, 0.1f, nullptr, 0);
  EXPECT_EQ(orvo_events_eval_frame(EE.get(), 0), 0);
  EXPECT_EQ(EE->frames[0].frame, 4);
  EXPECT_EQ(EE->frames[0].fmeasure.cells, (std::vector<float>{1.0f}));
  EXPECT_EQ(orvo_events_eval_frame(EE.get(), 1), -1);
  EXPECT_EQ(orvo_events_eval_frame(nullptr, 0), -1);

  orvoFrameEval* f = orvo_events_eval_frame_new();
  EXPECT_EQ(orvo_events_eval_frame_prepare(f, nullptr, 4), -1);
  EXPECT_EQ(orvo_events_eval_frame_prepare(nullptr, EE.get(), 4), -1);
  EXPECT_EQ(orvo_events_eval_frame_compute(nullptr, 0.33f, 0.1f), -1);
  EXPECT_EQ(orvo_events_eval_frame_prepare(f, EE.get(), 4), 1);
  // A record computed without its preparation is sized to its selections.
  f->fmeasure = orvoIdMatrix();
  EXPECT_EQ(orvo_events_eval_frame_compute(f, 0.33f, 0.1f), 0);
  EXPECT_EQ(f->fmeasure.cells, (std::vector<float>{1.0f}));
  EXPECT_EQ(orvo_events_eval_frame_free(f), 0);
  EXPECT_EQ(orvo_events_eval_frame_free(nullptr), 0);
}

namespace {

// A sequence of many small frames with crowded, overlapping, duplicated,
// inverted and empty boxes of several types, its events shuffled so that no
// frame's events are together, E events in frames the GT set does not list,
// GT frames without events and a negative frame number.
void random_sequence(uint32_t seed, orvoEventSet& gt, orvoEventSet& e) {
  std::mt19937 rng(seed);
  auto uniform = [&rng](int32_t lo, int32_t hi) {
    return std::uniform_int_distribution<int32_t>(lo, hi)(rng);
  };
  std::vector<_orvoEvent> gt_events, e_events;
  std::vector<int32_t> frames;
  for (int32_t frame = -1; frame < 300; ++frame) {
    if (frame == 0) continue;
    const bool listed = frame % 11 != 5;
    if (listed) frames.push_back(frame);
    const int32_t objects = frame % 13 == 0 ? 0 : uniform(0, 6);
    for (int32_t n = 0; n < objects; ++n) {
      int32_t x0 = uniform(0, 60), y0 = uniform(0, 60);
      int32_t x1 = x0 + uniform(0, 25), y1 = y0 + uniform(0, 25);
      if (uniform(0, 20) == 0) std::swap(x0, x1);
      const _orvoEvent g = box(frame, uniform(1, 7), x0, y0, x1, y1, uniform(0, 2));
      gt_events.push_back(g);
      if (uniform(0, 4) != 0) {  // a tracker box near the object
        const int32_t dx = uniform(-4, 4), dy = uniform(-4, 4);
        e_events.push_back(box(frame, uniform(1, 9), g.x0 + dx, g.y0 + dy, g.x1 + dx + uniform(-3, 3),
                               g.y1 + dy, uniform(0, 3)));
      }
    }
    if (frame % 17 == 3) {  // a crowd: every box on every other, two IDs a side
      for (int32_t n = 0; n < 6; ++n) {
        gt_events.push_back(box(frame, 1 + n % 2, 100 + n, 100, 140 + 2 * n, 140, 0));
        e_events.push_back(box(frame, 3 + n % 2, 101 + n, 99 + n, 139 + n, 141, 0));
      }
    }
    for (int32_t n = uniform(0, 3); n > 0; --n) {
      const int32_t x0 = uniform(0, 70), y0 = uniform(0, 70);
      e_events.push_back(box(frame, uniform(-2, 9), x0, y0, x0 + uniform(0, 30), y0 + uniform(0, 30),
                             uniform(0, 3)));
    }
  }
  std::shuffle(gt_events.begin(), gt_events.end(), rng);
  std::shuffle(e_events.begin(), e_events.end(), rng);
  fill(gt, gt_events, frames);
  orvo_event_set_sort_frames(&gt);
  std::vector<int32_t> e_frames;
  for (int32_t f = -1; f < 300; ++f) e_frames.push_back(f);
  fill(e, e_events, e_frames);
  orvo_event_set_sort_frames(&e);
}

// The identification statistics and sums computed the long way, from frames
// made by the plain per-frame operations and IDs found by linear search.
struct Reference {
  std::vector<orvoFrameEval*> frames;
  orvoIdMatrix id_map, fsum_map;
  std::vector<int32_t> gt_frames, e_frames, tracker, object;
  std::vector<int32_t> fit, fio;
  float fpbar = 0, fnbar = 0, mtbar = 0, mobar = 0, cdbar = 0, fitbar = 0, fiobar = 0;
  std::vector<float> gt_fmeasure, gt_purity, e_purity;
  float fmeasure = 0, opbar = 0, tpbar = 0;

  explicit Reference(orvoEventsEval* EE) {
    id_map = EE->id_map;
    std::fill(id_map.cells.begin(), id_map.cells.end(), 0.0f);
    fsum_map = id_map;
    const uint32_t G = id_map.gt_count(), E = id_map.e_count();
    gt_frames.assign(G, 0);
    e_frames.assign(E, 0);
    const float cov = EE->coverage_threshold;
    for (uint32_t t = 0; t < EE->frame_count(); ++t) {
      orvoFrameEval* f = orvo_events_eval_frame_new();
      orvo_events_eval_frame_prepare(f, EE, EE->gt.frames[t]);
      orvo_events_eval_frame_compute(f, cov, EE->occlusion_threshold);
      frames.push_back(f);
      for (const _orvoEvent* g : f->gt.events) ++gt_frames[orvo_events_eval_matrix_find_gt(&id_map, g->id)];
      for (const _orvoEvent* k : f->e.events) ++e_frames[orvo_events_eval_matrix_find_e(&id_map, k->id)];
      for (uint32_t j = 0; j < f->gt.count(); ++j) {
        for (uint32_t k = 0; k < f->e.count(); ++k) {
          if (!(f->fmeasure.at(k, j) > cov)) continue;
          const size_t cell = size_t(orvo_events_eval_matrix_find_e(&id_map, f->e.events[k]->id)) * G +
                              orvo_events_eval_matrix_find_gt(&id_map, f->gt.events[j]->id);
          fsum_map.cells[cell] += f->fmeasure.at(k, j);
          id_map.cells[cell] += 1.0f;
        }
      }
      const float w = 1.0f / float(std::max(1u, f->gt.count()));
      fpbar += float(f->fp) * w;
      fnbar += float(f->fn) * w;
      mtbar += float(f->mt) * w;
      mobar += float(f->mo) * w;
      cdbar += float(std::abs(f->cd)) * w;
    }
    tracker.assign(G, -1);
    for (uint32_t j = 0; j < G; ++j) {
      float best = 0;
      for (uint32_t i = 0; i < E; ++i) {
        if (id_map.at(i, j) > best) best = id_map.at(i, j), tracker[j] = int32_t(i);
      }
    }
    object.assign(E, -1);
    for (uint32_t i = 0; i < E; ++i) {
      float best = 0;
      for (uint32_t j = 0; j < G; ++j) {
        if (id_map.at(i, j) > best) best = id_map.at(i, j), object[i] = int32_t(j);
      }
    }
    for (orvoFrameEval* f : frames) {
      int32_t frame_fit = 0, frame_fio = 0;
      for (uint32_t j = 0; j < f->gt.count(); ++j) {
        if (f->occluded[j]) continue;
        const int32_t gt_id = f->gt.events[j]->id;
        const int32_t own = tracker[orvo_events_eval_matrix_find_gt(&id_map, gt_id)];
        for (uint32_t k = 0; k < f->e.count(); ++k) {
          if (!(f->fmeasure.at(k, j) > cov)) continue;
          const int32_t e_id = f->e.events[k]->id;
          const int32_t obj = object[orvo_events_eval_matrix_find_e(&id_map, e_id)];
          if (own < 0 || id_map.e_ids[own] != e_id) ++frame_fio;
          if (obj < 0 || id_map.gt_ids[obj] != gt_id) ++frame_fit;
        }
      }
      fit.push_back(frame_fit);
      fio.push_back(frame_fio);
      const float w = 1.0f / float(std::max(1u, f->gt.count()));
      fitbar += float(frame_fit) * w;
      fiobar += float(frame_fio) * w;
    }
    float f_sum = 0, op_sum = 0, tp_sum = 0;
    uint32_t op_count = 0, tp_count = 0;
    for (uint32_t j = 0; j < G; ++j) {
      uint32_t n = 0;
      float s = 0, m = 0;
      for (uint32_t i = 0; i < E; ++i) {
        n += uint32_t(id_map.at(i, j));
        s += fsum_map.at(i, j);
        m = std::max(m, id_map.at(i, j));
      }
      gt_purity.push_back(gt_frames[j] ? m / float(gt_frames[j]) : 0.0f);
      gt_fmeasure.push_back(n ? s / float(n) : 0.0f);
      f_sum += gt_fmeasure.back();
      op_sum += gt_purity.back();
      op_count += gt_purity.back() > 0;
    }
    for (uint32_t i = 0; i < E; ++i) {
      float m = 0;
      for (uint32_t j = 0; j < G; ++j) m = std::max(m, id_map.at(i, j));
      e_purity.push_back(e_frames[i] ? m / float(e_frames[i]) : 0.0f);
      tp_sum += e_purity.back();
      tp_count += e_purity.back() > 0;
    }
    fmeasure = f_sum / float(G);
    opbar = op_sum / float(op_count);
    tpbar = tp_sum / float(tp_count);
  }
  ~Reference() {
    for (orvoFrameEval* f : frames) orvo_events_eval_frame_free(f);
  }
};

}  // namespace

TEST(EvalProcess, EqualsThePlainPerFrameOperations) {
  struct Config {
    float coverage, occlusion;
    std::vector<int32_t> types;
  } configs[] = {{0.33f, 0.1f, {}}, {0.5f, 0.25f, {0, 2}}, {0.2f, 0.4f, {3, 1}}};
  for (uint32_t seed : {1u, 2u}) {
    for (const Config& config : configs) {
      EvalPtr EE = make_eval();
      random_sequence(seed, EE->gt, EE->e);
      orvo_events_eval_init(EE.get(), config.coverage, config.occlusion,
                            config.types.empty() ? nullptr : config.types.data(),
                            static_cast<uint32_t>(config.types.size()));
      ASSERT_EQ(orvo_events_eval_process(EE.get()), 1);
      const std::string where = "seed " + std::to_string(seed) + " coverage " +
                                std::to_string(config.coverage);
      const Reference ref(EE.get());
      ASSERT_EQ(ref.frames.size(), EE->frame_count());
      int32_t coverings = 0, occluded = 0;
      for (uint32_t t = 0; t < EE->frame_count(); ++t) {
        const orvoFrameEval& got = EE->frames[t];
        const orvoFrameEval& want = *ref.frames[t];
        const std::string at = where + " frame " + std::to_string(got.frame);
        EXPECT_EQ(got.frame, want.frame) << at;
        EXPECT_EQ(got.gt.events, want.gt.events) << at;
        EXPECT_EQ(got.e.events, want.e.events) << at;
        EXPECT_EQ(got.fmeasure.cells, want.fmeasure.cells) << at;
        EXPECT_EQ(got.fmeasure.gt_ids, want.fmeasure.gt_ids) << at;
        EXPECT_EQ(got.fmeasure.e_ids, want.fmeasure.e_ids) << at;
        EXPECT_EQ(got.occluded, want.occluded) << at;
        EXPECT_EQ(got.occluded_count, want.occluded_count) << at;
        EXPECT_EQ(std::vector<int32_t>({got.fp, got.fn, got.mt, got.mo, got.cd, got.fit, got.fio}),
                  std::vector<int32_t>({want.fp, want.fn, want.mt, want.mo, want.cd, ref.fit[t], ref.fio[t]}))
            << at;
        expect_plain_geometry(got, config.occlusion, at);
        occluded += got.occluded_count;
      }
      for (float cell : ref.id_map.cells) coverings += int32_t(cell);
      EXPECT_EQ(EE->id_map.cells, ref.id_map.cells) << where;
      EXPECT_EQ(EE->fsum_map.cells, ref.fsum_map.cells) << where;
      EXPECT_EQ(EE->gt_frames, ref.gt_frames) << where;
      EXPECT_EQ(EE->e_frames, ref.e_frames) << where;
      EXPECT_EQ(EE->gt_tracker, ref.tracker) << where;
      EXPECT_EQ(EE->e_object, ref.object) << where;
      const float W = 1.0f / float(EE->frame_count());
      EXPECT_EQ(EE->fpbar, ref.fpbar * W) << where;
      EXPECT_EQ(EE->fnbar, ref.fnbar * W) << where;
      EXPECT_EQ(EE->mtbar, ref.mtbar * W) << where;
      EXPECT_EQ(EE->mobar, ref.mobar * W) << where;
      EXPECT_EQ(EE->cdbar, ref.cdbar * W) << where;
      EXPECT_EQ(EE->fitbar, ref.fitbar * W) << where;
      EXPECT_EQ(EE->fiobar, ref.fiobar * W) << where;
      EXPECT_EQ(EE->gt_fmeasure, ref.gt_fmeasure) << where;
      EXPECT_EQ(EE->gt_purity, ref.gt_purity) << where;
      EXPECT_EQ(EE->e_purity, ref.e_purity) << where;
      EXPECT_EQ(EE->fmeasure, ref.fmeasure) << where;
      EXPECT_EQ(EE->opbar, ref.opbar) << where;
      EXPECT_EQ(EE->tpbar, ref.tpbar) << where;
      // The sequence is rich enough to mean something.
      EXPECT_GT(coverings, 50) << where;
      EXPECT_GT(occluded, 0) << where;
      EXPECT_GT(EE->fit + EE->fio, 20) << where;

      // Evaluating again gives the same results, bit for bit.
      const std::string first = report_text(EE.get(), "seq");
      const std::vector<orvoFrameEval> frames_before = EE->frames;
      ASSERT_EQ(orvo_events_eval_process(EE.get()), 1);
      EXPECT_EQ(report_text(EE.get(), "seq"), first) << where;
      EXPECT_EQ(EE->gt_purity, ref.gt_purity) << where;
      EXPECT_EQ(EE->fsum_map.cells, ref.fsum_map.cells) << where;
      ASSERT_EQ(EE->frames.size(), frames_before.size());
      for (size_t t = 0; t < frames_before.size(); ++t) {
        EXPECT_EQ(EE->frames[t].fmeasure.cells, frames_before[t].fmeasure.cells) << where;
      }
    }
  }
}
