// Number conversions shared by the readers and writers, all independent of the
// process locale ("." is always the decimal point).
#pragma once

#include <cstdint>
#include <string>

// Truncates toward zero, saturates at the 32-bit range, NaN gives 0.
int32_t orvo_real_to_int(double value);
int32_t orvo_saturate_int(int64_t value);

// One conversion of a scanf-style scan over [p, end). On success p moves past
// the text that was read.
enum class orvoScan {
  ok,            // a value was read
  no_match,      // the text at p is not such a value (a matching failure)
  end_of_input,  // only white space was left (an input failure)
};
bool orvo_is_space(char c);
void orvo_skip_space(const char*& p, const char* end);
// "%d": optional sign and decimal digits, saturated at the 32-bit range.
orvoScan orvo_scan_int(const char*& p, const char* end, int32_t& out);
// "%f": what strtof accepts (decimal, exponent, hex, inf, nan), read straight
// to a 32-bit real.
orvoScan orvo_scan_float(const char*& p, const char* end, float& out);
// "%s": a run of non-space characters; nothing is stored.
orvoScan orvo_scan_word(const char*& p, const char* end);

// Appends the decimal digits of value, as "%d" prints them.
void orvo_append_int(std::string& text, int64_t value);

// Whole-text conversions of XML values: atol-like (leading space, sign,
// digits up to the first other character, 0 when there are none, saturated),
// and strtod-like (0 when nothing converts).
int32_t orvo_parse_long(const char* text);
double orvo_parse_double(const char* text);
