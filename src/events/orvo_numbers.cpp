#include "orvo_numbers.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>
#include <string>

namespace {

constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
constexpr int64_t kMax = std::numeric_limits<int32_t>::max();

locale_t classic_locale() {
  static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Reads sign and digits at [p, end); false when no digit follows the sign.
bool read_integer(const char*& p, const char* end, int64_t& out) {
  const char* q = p;
  bool negative = false;
  if (q < end && (*q == '+' || *q == '-')) {
    negative = *q == '-';
    ++q;
  }
  if (q >= end || !is_digit(*q)) return false;
  int64_t value = 0;
  for (; q < end && is_digit(*q); ++q) {
    if (value <= kMax + 1) value = value * 10 + (*q - '0');
  }
  value = negative ? -value : value;
  out = value < kMin ? kMin : (value > kMax ? kMax : value);
  p = q;
  return true;
}

bool starts_hex(const char* p, const char* end) {
  return end - p >= 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X');
}

// strtod/strtof on a bounded range: the rare forms go through the C library
// with the classic locale on a terminated copy.
template <typename Real>
bool read_real(const char*& p, const char* end, Real& out) {
  const char* q = p;
  bool negative = false;
  if (q < end && (*q == '+' || *q == '-')) {
    negative = *q == '-';
    ++q;
    if (q < end && (*q == '+' || *q == '-')) return false;
  }
  if (!starts_hex(q, end)) {
    Real value{};
    auto [ptr, ec] = std::from_chars(q, end, value, std::chars_format::general);
    if (ec == std::errc()) {
      out = negative ? -value : value;
      p = ptr;
      return true;
    }
    if (ec == std::errc::invalid_argument) return false;
    // Out of range: fall through so that overflow and underflow give what
    // strtod gives (infinity, or a tiny or zero value).
  }
  std::string copy(p, end);
  char* stop = nullptr;
  Real value;
  if constexpr (sizeof(Real) == sizeof(float)) {
    value = strtof_l(copy.c_str(), &stop, classic_locale());
  } else {
    value = strtod_l(copy.c_str(), &stop, classic_locale());
  }
  if (stop == copy.c_str()) return false;
  out = value;
  p += stop - copy.c_str();
  return true;
}

}  // namespace

int32_t orvo_real_to_int(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(kMax)) return static_cast<int32_t>(kMax);
  if (value <= static_cast<double>(kMin)) return static_cast<int32_t>(kMin);
  return static_cast<int32_t>(value);
}

int32_t orvo_saturate_int(int64_t value) {
  return static_cast<int32_t>(value < kMin ? kMin : (value > kMax ? kMax : value));
}

bool orvo_is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void orvo_skip_space(const char*& p, const char* end) {
  while (p < end && orvo_is_space(*p)) ++p;
}

orvoScan orvo_scan_int(const char*& p, const char* end, int32_t& out) {
  orvo_skip_space(p, end);
  if (p >= end) return orvoScan::end_of_input;
  int64_t value = 0;
  if (!read_integer(p, end, value)) return orvoScan::no_match;
  out = static_cast<int32_t>(value);
  return orvoScan::ok;
}

orvoScan orvo_scan_float(const char*& p, const char* end, float& out) {
  orvo_skip_space(p, end);
  if (p >= end) return orvoScan::end_of_input;
  return read_real(p, end, out) ? orvoScan::ok : orvoScan::no_match;
}

orvoScan orvo_scan_word(const char*& p, const char* end) {
  orvo_skip_space(p, end);
  if (p >= end) return orvoScan::end_of_input;
  while (p < end && !orvo_is_space(*p)) ++p;
  return orvoScan::ok;
}

int32_t orvo_parse_long(const char* text) {
  const char* end = text + std::strlen(text);
  const char* p = text;
  orvo_skip_space(p, end);
  int64_t value = 0;
  return read_integer(p, end, value) ? static_cast<int32_t>(value) : 0;
}

double orvo_parse_double(const char* text) {
  const char* end = text + std::strlen(text);
  const char* p = text;
  orvo_skip_space(p, end);
  double value = 0.0;
  return read_real(p, end, value) ? value : 0.0;
}

void orvo_append_int(std::string& text, int64_t value) {
  char digits[24];
  text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}
