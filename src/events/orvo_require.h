// Null records are programming errors, never reachable from input: stop with
// a message naming the parameter, also in release builds.
#pragma once

#include <cstdio>
#include <cstdlib>

#define ORVO_REQUIRE(param)                                                      \
  do {                                                                           \
    if ((param) == nullptr) {                                                    \
      std::fprintf(stderr, "%s:%d: assertion failed: %s is null\n", __FILE__,   \
                   __LINE__, #param);                                            \
      std::abort();                                                              \
    }                                                                            \
  } while (0)
