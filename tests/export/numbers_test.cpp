#include "export/numbers.h"

#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

std::string fourDecimals(double value) {
  char text[kNumberTextCapacity];
  return std::string(text, formatFourDecimals(value, text));
}

std::string twoDecimals(double value) {
  char text[kNumberTextCapacity];
  return std::string(text, formatTwoDecimals(value, text));
}

double fromBits(std::uint64_t bits) { return std::bit_cast<double>(bits); }

TEST(NumberText, FixedPointRoundedToNearestTiesToEvenRightAligned) {
  struct Case {
    double value;
    const char *four;
    const char *two;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {0.9f, "    0.9000", "        0.90"},
      {1234567.89f, "1234567.8750", "  1234567.88"}, // the single is 1234567.875
      {1.125, "    1.1250", "        1.12"},
      {1.375, "    1.3750", "        1.38"},
      {2.625, "    2.6250", "        2.62"},
      {0.00005, "    0.0001", "        0.00"}, // not a tie in binary: just above
      {0.5, "    0.5000", "        0.50"},
      {-0.0, "   -0.0000", "       -0.00"},
      {-0.001, "   -0.0010", "       -0.00"},
      {-1e-9, "   -0.0000", "       -0.00"},
      {123456789012.5, "123456789012.5000", "123456789012.50"},
      {99999.99995, "99999.9999", "   100000.00"}, // the double lies just below the tie
      {inf, "      +INF", "        +INF"},
      {-inf, "      -INF", "        -INF"},
      {std::numeric_limits<double>::quiet_NaN(), "      +NAN", "        +NAN"},
      {fromBits(0xFFF8000000000000), "      -NAN", "        -NAN"},
      {fromBits(0x7FF0000000000001), "      +NAN", "        +NAN"},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(fourDecimals(c.value), c.four) << c.value;
    EXPECT_EQ(twoDecimals(c.value), c.two) << c.value;
  }
  // The largest double is written whole, never cut.
  EXPECT_EQ(fourDecimals(DBL_MAX).size(), 309u + 5u);
  EXPECT_EQ(twoDecimals(-DBL_MAX).size(), 1u + 309u + 3u);
}

// What the library's exactly rounded fixed-point conversion writes, aligned.
std::string libraryText(double value, int decimals, std::size_t width) {
  char digits[kNumberTextCapacity];
  auto result =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
  std::string text(digits, result.ptr);
  return std::string(text.size() < width ? width - text.size() : 0, ' ') + text;
}

// The digits are worked out in integers where they fit; they must be the very
// digits of the library's conversion, ties and the edges of the integer range
// included.
TEST(NumberText, SameDigitsAsTheLibraryConversion) {
  std::mt19937_64 random(20040307);
  std::vector<double> values = {0.0,
                                5e-324,
                                0.00005,
                                0.000049999999999999996,
                                0.005,
                                0.125,
                                0.375,
                                2.5,
                                3.5,
                                1844674407370955.0,
                                1844674407370955.2,
                                18446744073709551615.0,
                                9007199254740993.0,
                                1e15,
                                1e17,
                                1e20};
  for (int i = 0; i < 300000; ++i) {
    switch (i % 3) {
    case 0: // any finite double
      values.push_back(fromBits(random() & 0x7FEFFFFFFFFFFFFF));
      break;
    case 1: // amounts, rates and their products as the export prints them
      values.push_back(std::ldexp(static_cast<double>(random() >> 11), -60 + i % 120));
      break;
    default: // ties at the second and the fourth decimal
      values.push_back(static_cast<double>(random() % 100000000) / 10000.0 + 0.00005);
      values.push_back(static_cast<double>(random() % 1000000) / 100.0 + 0.005);
      break;
    }
  }
  for (double magnitude : values) {
    for (double value : {magnitude, -magnitude}) {
      ASSERT_EQ(fourDecimals(value), libraryText(value, 4, 10)) << std::hexfloat << value;
      ASSERT_EQ(twoDecimals(value), libraryText(value, 2, 12)) << std::hexfloat << value;
    }
  }
}

TEST(NumberText, DateTimeFieldsAreZeroFilledAfterTheirSign) {
  struct Case {
    std::int32_t year, month, day, hour, minute, second;
    const char *text;
  };
  const Case cases[] = {
      {2004, 3, 7, 14, 5, 9, "2004.03.07 14:05:09"},
      {0, 0, 0, 0, 0, 0, "0000.00.00 00:00:00"},
      {-5, -5, 13, 99, 100, -32768, "-005.-5.13 99:100:-32768"},
      {12345, 32767, -1, 7, 0, 59, "12345.32767.-1 07:00:59"},
  };
  for (const Case &c : cases) {
    char text[kDateTimeTextCapacity];
    std::size_t length = formatDateTime(c.year, c.month, c.day, c.hour, c.minute, c.second, text);
    EXPECT_EQ(std::string(text, length), c.text);
  }
}

TEST(DerivedAmounts, ProductsAreExactAndKeepTheFirstNaN) {
  float justAboveOne = std::nextafter(1.0f, 2.0f); // 1 + 2^-23
  EXPECT_EQ(productOfSingles(justAboveOne, justAboveOne), 1.0 + 0x1p-22 + 0x1p-46);
  EXPECT_EQ(productOfSingles(FLT_MAX, FLT_MAX), static_cast<double>(FLT_MAX) * FLT_MAX);
  EXPECT_TRUE(std::signbit(productOfSingles(0.0f, -5.0f)));

  float positiveNaN = std::bit_cast<float>(0x7FC00000u);
  float negativeNaN = std::bit_cast<float>(0xFFC00000u);
  EXPECT_TRUE(std::signbit(productOfSingles(negativeNaN, positiveNaN)));
  EXPECT_FALSE(std::signbit(productOfSingles(positiveNaN, negativeNaN)));
  EXPECT_FALSE(std::signbit(productOfSingles(2.0f, positiveNaN)));
  EXPECT_TRUE(std::isnan(productOfSingles(0.0f, std::numeric_limits<float>::infinity())));
}

// Pairs for which rounding the quotient to a 64-bit significand and then to a
// double gives another double than dividing in double right away.
struct DoubleRounding {
  float dividend;
  float divisor;
  double quotient;
};
const DoubleRounding kDoubleRoundings[] = {
    {1.0f, 0x1.0000cp+0f, 0x1.fffe80011fff2p-1},
    {1.0f, 0x1.004c02p+0f, 0x1.ff682914fd72ap-1},
    {0x1.58aa5p+0f, 0x1.9d5364p+0f, 0.83388293055051221},
    {0x1.48f25cp+37f, 0x1.32b836p+0f, 0x1.128d37b4d9bc8p+37},
};

TEST(DerivedAmounts, QuotientsAreRoundedToA64BitSignificandFirst) {
  for (const DoubleRounding &c : kDoubleRoundings) {
    double direct = static_cast<double>(c.dividend) / static_cast<double>(c.divisor);
    ASSERT_NE(direct, c.quotient) << "not a double-rounding case";
    EXPECT_EQ(quotientOfSingles(c.dividend, c.divisor), c.quotient);
    EXPECT_EQ(quotientBySignificand64(c.dividend, c.divisor), c.quotient);
  }
  EXPECT_EQ(fourDecimals(quotientOfSingles(0x1.48f25cp+37f, 0x1.32b836p+0f)), "147398784667.2170");
}

TEST(DerivedAmounts, UndefinedQuotientsGiveTheirIeeeResults) {
  const float inf = std::numeric_limits<float>::infinity();
  const float negativeNaN = std::bit_cast<float>(0xFFC00001u);
  const float positiveNaN = std::bit_cast<float>(0x7FC00000u);
  for (auto divide : {quotientOfSingles, quotientBySignificand64}) {
    EXPECT_EQ(fourDecimals(divide(1.0f, 0.0f)), "      +INF");
    EXPECT_EQ(fourDecimals(divide(1.0f, -0.0f)), "      -INF");
    EXPECT_EQ(fourDecimals(divide(1.0f, inf)), "    0.0000");
    EXPECT_EQ(fourDecimals(divide(1.0f, -inf)), "   -0.0000");
    EXPECT_TRUE(std::isnan(divide(0.0f, 0.0f)));
    EXPECT_TRUE(std::isnan(divide(inf, inf)));
    EXPECT_EQ(fourDecimals(divide(negativeNaN, positiveNaN)), "      -NAN");
    EXPECT_EQ(fourDecimals(divide(positiveNaN, negativeNaN)), "      +NAN");
    EXPECT_EQ(fourDecimals(divide(3.0f, negativeNaN)), "      -NAN");
  }
}

#if LDBL_MANT_DIG == 64
// Where long double has the 64-bit significand, the integer routine that other
// platforms use must agree with it on every kind of operand.
TEST(DerivedAmounts, IntegerRoutineAgreesWithExtendedPrecision) {
  std::mt19937 random(20040307);
  for (int i = 0; i < 200000; ++i) {
    float a = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
    float b = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
    if (i % 4 == 0) { // also operands of similar size, where the rounding bites
      b = std::bit_cast<float>((std::bit_cast<std::uint32_t>(a) & 0xFF800000u) |
                               (static_cast<std::uint32_t>(random()) & 0x007FFFFFu));
    }
    double expected =
        static_cast<double>(static_cast<long double>(a) / static_cast<long double>(b));
    double actual = quotientBySignificand64(a, b);
    if (std::isnan(expected)) {
      EXPECT_TRUE(std::isnan(actual));
    } else {
      ASSERT_EQ(std::bit_cast<std::uint64_t>(actual), std::bit_cast<std::uint64_t>(expected))
          << std::hexfloat << a << " / " << b;
    }
  }
}
#endif

} // namespace
