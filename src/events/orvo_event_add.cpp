#include "orvo_event_add.h"

#include <algorithm>
#include <limits>
#include <new>
#include <stdexcept>
#include <unordered_map>

#include "orvo_numbers.h"
#include "orvo_require.h"

int orvo_event_set_offset_ids(orvoEventSet* set, int32_t offset) {
  ORVO_REQUIRE(set);
  if (offset <= 0) return 1;
  for (_orvoEvent& event : set->events) {
    event.id = static_cast<int32_t>(static_cast<uint32_t>(event.id) + static_cast<uint32_t>(offset));
  }
  return 1;
}

float CatmullRom(float p0, float p1, float p2, float p3, float t) {
  if (t > 1.0f) t = 1.0f;
  if (t < 0.0f) t = 0.0f;
  const double t2 = static_cast<float>(t * t);
  const double t3 = static_cast<float>(t * t * t);
  const double a = p0, b = p1, c = p2, d = p3;
  const double value = 0.5 * (2.0 * b + (c - a) * t + (2.0 * a - 5.0 * b + 4.0 * c - d) * t2 +
                              (-a + 3.0 * b - 3.0 * c + d) * t3);
  return static_cast<float>(value);
}

namespace {

int32_t spline(int32_t _orvoEvent::*field, const _orvoEvent& p0, const _orvoEvent& p1,
               const _orvoEvent& p2, const _orvoEvent& p3, float t) {
  return orvo_real_to_int(CatmullRom(static_cast<float>(p0.*field), static_cast<float>(p1.*field),
                                     static_cast<float>(p2.*field), static_cast<float>(p3.*field), t));
}

int interpolate(orvoEventSet* set) {
  // Objects in order of first appearance, each with its events ordered by
  // frame (as signed numbers), equal frames keeping their set order.
  std::unordered_map<int32_t, size_t> group_of;
  std::vector<std::vector<uint32_t>> groups;
  for (uint32_t i = 0; i < set->events.size(); ++i) {
    auto [it, inserted] = group_of.try_emplace(set->events[i].id, groups.size());
    if (inserted) groups.emplace_back();
    groups[it->second].push_back(i);
  }
  uint64_t total = 0;
  for (auto& group : groups) {
    std::stable_sort(group.begin(), group.end(), [&](uint32_t a, uint32_t b) {
      return set->events[a].frame < set->events[b].frame;
    });
    total += uint64_t(int64_t{set->events[group.back()].frame} - set->events[group.front()].frame) + 1;
  }
  if (total > std::numeric_limits<uint32_t>::max()) return -1;

  std::vector<_orvoEvent> out;
  out.reserve(total);
  for (const auto& group : groups) {
    const size_t n = group.size();
    auto at = [&](int64_t j) -> const _orvoEvent& {
      return set->events[group[static_cast<size_t>(std::clamp<int64_t>(j, 0, int64_t(n) - 1))]];
    };
    for (size_t j = 0; j + 1 < n; ++j) {
      const _orvoEvent& e = at(int64_t(j));
      const int64_t gap = int64_t{at(int64_t(j) + 1).frame} - e.frame;
      for (int64_t k = 0; k < gap; ++k) {
        const float t = static_cast<float>(k) / static_cast<float>(gap);
        const _orvoEvent &p0 = at(int64_t(j) - 1), &p2 = at(int64_t(j) + 1), &p3 = at(int64_t(j) + 2);
        out.push_back({static_cast<int32_t>(e.frame + k), e.id, e.type,
                       spline(&_orvoEvent::x0, p0, e, p2, p3, t), spline(&_orvoEvent::y0, p0, e, p2, p3, t),
                       spline(&_orvoEvent::x1, p0, e, p2, p3, t), spline(&_orvoEvent::y1, p0, e, p2, p3, t)});
      }
    }
    // The last annotation is kept as it is (a lone one is just copied).
    out.push_back(at(int64_t(n) - 1));
  }

  std::vector<int32_t> frames;
  frames.reserve(out.size());
  for (const _orvoEvent& e : out) frames.push_back(e.frame);
  std::sort(frames.begin(), frames.end(), [](int32_t a, int32_t b) {
    return static_cast<uint32_t>(a) < static_cast<uint32_t>(b);
  });
  frames.erase(std::unique(frames.begin(), frames.end()), frames.end());

  set->events = std::move(out);
  set->frames = std::move(frames);
  return 1;
}

}  // namespace

int InterpolateEventSet(orvoEventSet* set) {
  ORVO_REQUIRE(set);
  // A sparse annotation can ask for more boxes than memory holds; the set is
  // only replaced once the new one is complete.
  try {
    return interpolate(set);
  } catch (const std::bad_alloc&) {
    return -1;
  } catch (const std::length_error&) {
    return -1;
  }
}
