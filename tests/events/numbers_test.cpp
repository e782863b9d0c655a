#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

#include "orvo_numbers.h"

TEST(Numbers, RealToIntTruncatesSaturatesAndZeroesNaN) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double in;
    int32_t out;
  } cases[] = {{2.9, 2},        {-2.9, -2},       {-0.5, 0},         {1e10, INT_MAX},
               {-1e10, INT_MIN}, {inf, INT_MAX},  {-inf, INT_MIN},   {std::nan(""), 0},
               {2147483647.0, INT_MAX}, {-2147483648.0, INT_MIN}};
  for (const Case& c : cases) EXPECT_EQ(orvo_real_to_int(c.in), c.out) << c.in;
}

TEST(Numbers, ScanIntLikeScanfButSaturated) {
  struct Case {
    const char* text;
    orvoScan status;
    int32_t value;
    size_t consumed;
  } cases[] = {
      {"  42 rest", orvoScan::ok, 42, 4},
      {"-7x", orvoScan::ok, -7, 2},
      {"+3", orvoScan::ok, 3, 2},
      {"12.5", orvoScan::ok, 12, 2},
      {"99999999999", orvoScan::ok, INT_MAX, 11},
      {"-99999999999999999999999", orvoScan::ok, INT_MIN, 24},
      {"x1", orvoScan::no_match, -1, 0},
      {"-", orvoScan::no_match, -1, 0},
      {" \t\r\n", orvoScan::end_of_input, -1, 4},
      {"", orvoScan::end_of_input, -1, 0},
  };
  for (const Case& c : cases) {
    const char* p = c.text;
    int32_t value = -1;
    EXPECT_EQ(orvo_scan_int(p, c.text + std::strlen(c.text), value), c.status) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
    EXPECT_EQ(static_cast<size_t>(p - c.text), c.consumed) << c.text;
  }
}

TEST(Numbers, ScanFloatAcceptsWhatStrtofAccepts) {
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    const char* text;
    orvoScan status;
    float value;
    size_t consumed;
  } cases[] = {
      {"1.5", orvoScan::ok, 1.5f, 3},
      {" +2", orvoScan::ok, 2.0f, 3},
      {"-.25e1x", orvoScan::ok, -2.5f, 6},
      {"7.", orvoScan::ok, 7.0f, 2},
      {"1e", orvoScan::ok, 1.0f, 1},
      {"0x1p3", orvoScan::ok, 8.0f, 5},
      {"-0X10", orvoScan::ok, -16.0f, 5},
      {"inf", orvoScan::ok, inf, 3},
      {"-Infinity", orvoScan::ok, -inf, 9},
      {"1e40", orvoScan::ok, inf, 4},
      {"0.1", orvoScan::ok, 0.1f, 3},
      {"+-5", orvoScan::no_match, -1.0f, 0},
      {".", orvoScan::no_match, -1.0f, 0},
      {"e5", orvoScan::no_match, -1.0f, 0},
      {"  ", orvoScan::end_of_input, -1.0f, 2},
  };
  for (const Case& c : cases) {
    const char* p = c.text;
    float value = -1.0f;
    EXPECT_EQ(orvo_scan_float(p, c.text + std::strlen(c.text), value), c.status) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
    EXPECT_EQ(static_cast<size_t>(p - c.text), c.consumed) << c.text;
  }
  const char* nan_text = "nan(1)";
  const char* p = nan_text;
  float value = 0;
  EXPECT_EQ(orvo_scan_float(p, nan_text + 6, value), orvoScan::ok);
  EXPECT_TRUE(std::isnan(value));
}

TEST(Numbers, ScanStopsAtTheEndOfTheRange) {
  const char* text = "12345";
  const char* p = text;
  int32_t value = 0;
  EXPECT_EQ(orvo_scan_int(p, text + 2, value), orvoScan::ok);
  EXPECT_EQ(value, 12);
  p = text;
  float real = 0;
  EXPECT_EQ(orvo_scan_float(p, text + 3, real), orvoScan::ok);
  EXPECT_EQ(real, 123.0f);
}

TEST(Numbers, ParseLongAndDoubleOfXmlTexts) {
  struct Case {
    const char* text;
    int32_t integer;
    double real;
  } cases[] = {{"12.7", 12, 12.7},   {"  -3", -3, -3.0},  {"", 0, 0.0},
               {"abc", 0, 0.0},      {"5abc", 5, 5.0},    {"1e3", 1, 1000.0},
               {"99999999999", INT_MAX, 99999999999.0}, {"\n 40.5 \n", 40, 40.5}};
  for (const Case& c : cases) {
    EXPECT_EQ(orvo_parse_long(c.text), c.integer) << c.text;
    EXPECT_DOUBLE_EQ(orvo_parse_double(c.text), c.real) << c.text;
  }
}
