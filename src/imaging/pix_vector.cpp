// Vectors of float values.
#include <cmath>
#include <new>
#include <stdexcept>

#include "pixcore.h"

int InitVectorSize(VectorStruct* vector, int32_t n) {
  if (vector == nullptr || n < 0 || n > PixMaxVectorLength) return -1;
  try {
    std::vector<float> room;
    room.reserve(static_cast<std::size_t>(n));
    vector->values.swap(room);
  } catch (const std::exception&) {
    return -1;
  }
  return 1;
}

int SetVectorLength(VectorStruct* vector, int32_t n) {
  if (vector == nullptr || n < 0 || n > PixMaxVectorLength) return -1;
  try {
    vector->values.resize(static_cast<std::size_t>(n), 0.0f);
  } catch (const std::exception&) {
    return -1;
  }
  return 1;
}

int DestroyVector(VectorStruct* vector) {
  if (vector == nullptr) return -1;
  std::vector<float>().swap(vector->values);
  return 1;
}

int VectorStatistics(float* min, float* max, float* mean, float* deviation,
                     const VectorStruct* vector) {
  // Welford's running mean and squared deviations: no cancellation for large values.
  double lo = 0, hi = 0, average = 0, spread = 0;
  std::size_t counted = 0;
  if (vector != nullptr) {
    for (float v : vector->values) {
      if (std::isnan(v)) continue;
      if (counted == 0 || v < lo) lo = v;
      if (counted == 0 || v > hi) hi = v;
      ++counted;
      double step = v - average;
      average += step / double(counted);
      spread += step * (v - average);
    }
  }
  double variance = counted ? spread / double(counted) : 0;
  if (!(variance > 0)) variance = 0;  // also infinite values
  if (min) *min = static_cast<float>(lo);
  if (max) *max = static_cast<float>(hi);
  if (mean) *mean = static_cast<float>(average);
  if (deviation) *deviation = static_cast<float>(std::sqrt(variance));
  return counted ? 1 : -1;
}
