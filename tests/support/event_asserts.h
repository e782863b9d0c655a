// Comparing event lists with a readable message on mismatch.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "orvo_event_set.h"

using Events = std::vector<_orvoEvent>;

inline bool same_event(const _orvoEvent& a, const _orvoEvent& b) {
  return a.frame == b.frame && a.id == b.id && a.type == b.type && a.x0 == b.x0 && a.y0 == b.y0 &&
         a.x1 == b.x1 && a.y1 == b.y1;
}

inline std::string show(const Events& events) {
  std::string out;
  for (const _orvoEvent& e : events) {
    out += "(" + std::to_string(e.frame) + " " + std::to_string(e.id) + " " + std::to_string(e.type) +
           ": " + std::to_string(e.x0) + " " + std::to_string(e.y0) + " " + std::to_string(e.x1) +
           " " + std::to_string(e.y1) + ") ";
  }
  return out;
}

inline void expect_events(const Events& got, const Events& want, const std::string& context) {
  bool equal = got.size() == want.size();
  for (size_t i = 0; equal && i < got.size(); ++i) equal = same_event(got[i], want[i]);
  EXPECT_TRUE(equal) << context << "\n got:  " << show(got) << "\n want: " << show(want);
}
