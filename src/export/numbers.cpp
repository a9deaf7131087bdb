#include "export/numbers.h"

#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

std::size_t rightAligned(const char *text, std::size_t length, std::size_t width, char *out) {
  std::size_t padding = length < width ? width - length : 0;
  std::memset(out, ' ', padding);
  std::memcpy(out + padding, text, length);
  return padding + length;
}

constexpr std::uint64_t kPowersOf5[] = {1, 5, 25, 125, 625};

// "00" to "99", so that the digits are written two at a time.
struct DigitPairs {
  char text[200];
};
constexpr DigitPairs makeDigitPairs() {
  DigitPairs pairs{};
  for (std::size_t i = 0; i < 100; ++i) {
    pairs.text[2 * i] = static_cast<char>('0' + i / 10);
    pairs.text[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}
constexpr DigitPairs kDigitPairs = makeDigitPairs();

// Writes the decimal digits of value backwards, ending before end; returns
// where they begin.
char *digitsBefore(char *end, std::uint64_t value) {
  while (value >= 100) {
    end -= 2;
    std::memcpy(end, kDigitPairs.text + 2 * (value % 100), 2);
    value /= 100;
  }
  if (value >= 10) {
    end -= 2;
    std::memcpy(end, kDigitPairs.text + 2 * value, 2);
    return end;
  }
  *--end = static_cast<char>('0' + value);
  return end;
}
constexpr std::uint64_t kPowersOf10[] = {1, 10, 100, 1000, 10000};

// The magnitude times 10^decimals, rounded to the nearest integer with ties to
// even, when that integer fits in 64 bits. A finite double is m times 2^e with
// an integer m below 2^53; times 10^d = 5^d 2^d it is m 5^d 2^(e + d), and
// m 5^d stays below 2^63 for d up to 4, so one product and one exact shift give
// the digits that to_chars gives, at a fraction of its cost.
bool scaleExactly(double magnitude, int decimals, std::uint64_t &scaled) {
  auto bits = std::bit_cast<std::uint64_t>(magnitude);
  auto biasedExponent = static_cast<int>(bits >> 52);
  std::uint64_t significand = bits & ((std::uint64_t{1} << 52) - 1);
  int exponent = -1074; // subnormal
  if (biasedExponent != 0) {
    significand |= std::uint64_t{1} << 52;
    exponent = biasedExponent - 1075;
  }
  std::uint64_t product = significand * kPowersOf5[decimals];
  int shift = exponent + decimals;
  if (shift >= 0) {
    if (shift >= 64 || product > UINT64_MAX >> shift) {
      return false;
    }
    scaled = product << shift;
    return true;
  }
  int dropped = -shift;
  if (dropped >= 64) { // product < 2^63: below half of the unit
    scaled = 0;
    return true;
  }
  std::uint64_t kept = product >> dropped;
  std::uint64_t rest = product & ((std::uint64_t{1} << dropped) - 1);
  std::uint64_t half = std::uint64_t{1} << (dropped - 1);
  scaled = kept + ((rest > half || (rest == half && (kept & 1) != 0)) ? 1 : 0);
  return true;
}

// The scaled value with its point before the last decimals digits, right-
// aligned, written from the last digit backwards: at most 20 digits, the point
// and the sign, and no width beyond 12.
std::size_t formatScaled(std::uint64_t scaled, bool negative, int decimals, std::size_t width,
                         char *out) {
  char text[32];
  char *end = text + sizeof text;
  std::uint64_t unit = kPowersOf10[decimals];
  // The fraction with its leading zeros: digits of unit + fraction but the 1.
  char *p = digitsBefore(end, unit + scaled % unit) + 1;
  *--p = '.';
  p = digitsBefore(p, scaled / unit);
  if (negative) {
    *--p = '-';
  }
  while (static_cast<std::size_t>(end - p) < width) {
    *--p = ' ';
  }
  std::memcpy(out, p, static_cast<std::size_t>(end - p));
  return static_cast<std::size_t>(end - p);
}

// "-" for every negative value, zeros and those rounded to zero included.
std::size_t formatFixed(double value, int decimals, std::size_t width, char *out) {
  const char *special = nullptr;
  if (std::isnan(value)) {
    special = std::signbit(value) ? "-NAN" : "+NAN";
  } else if (std::isinf(value)) {
    special = value < 0 ? "-INF" : "+INF";
  }
  if (special != nullptr) {
    return rightAligned(special, 4, width, out);
  }
  std::uint64_t scaled = 0;
  if (scaleExactly(std::fabs(value), decimals, scaled)) {
    return formatScaled(scaled, std::signbit(value), decimals, width, out);
  }
  char digits[kNumberTextCapacity];
  std::to_chars_result result =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
  return rightAligned(digits, static_cast<std::size_t>(result.ptr - digits), width, out);
}

// A signed decimal whose digits are filled with leading zeros so that sign and
// digits take at least width characters, as "%0*d" does.
char *appendZeroFilled(char *out, std::int32_t value, int width) {
  std::int64_t magnitude = value;
  if (magnitude < 0) {
    *out++ = '-';
    magnitude = -magnitude;
    --width;
  }
  char digits[16];
  std::to_chars_result result = std::to_chars(digits, digits + sizeof digits, magnitude);
  int length = static_cast<int>(result.ptr - digits);
  for (int i = length; i < width; ++i) {
    *out++ = '0';
  }
  std::memcpy(out, digits, static_cast<std::size_t>(length));
  return out + length;
}

} // namespace

std::size_t formatFourDecimals(double value, char *out) { return formatFixed(value, 4, 10, out); }

std::size_t formatTwoDecimals(double value, char *out) { return formatFixed(value, 2, 12, out); }

std::size_t formatDateTime(std::int32_t year, std::int32_t month, std::int32_t day,
                           std::int32_t hour, std::int32_t minute, std::int32_t second, char *out) {
  char *p = appendZeroFilled(out, year, 4);
  *p++ = '.';
  p = appendZeroFilled(p, month, 2);
  *p++ = '.';
  p = appendZeroFilled(p, day, 2);
  *p++ = ' ';
  p = appendZeroFilled(p, hour, 2);
  *p++ = ':';
  p = appendZeroFilled(p, minute, 2);
  *p++ = ':';
  p = appendZeroFilled(p, second, 2);
  return static_cast<std::size_t>(p - out);
}

double productOfSingles(float first, float second) {
  if (std::isnan(first)) {
    return first;
  }
  if (std::isnan(second)) {
    return second;
  }
  return static_cast<double>(first) * static_cast<double>(second);
}

namespace {

// Rounds to nearest, ties to even, dropping the given number of low bits.
std::uint64_t roundOffBits(std::uint64_t value, int bits, bool sticky) {
  std::uint64_t half = std::uint64_t{1} << (bits - 1);
  std::uint64_t low = value & ((half << 1) - 1);
  std::uint64_t kept = value >> bits;
  bool roundUp = low > half || (low == half && (sticky || (kept & 1) != 0));
  return kept + (roundUp ? 1 : 0);
}

// For finite, non-zero operands: |dividend| / |divisor| by long division.
double positiveQuotientBySignificand64(double dividend, double divisor) {
  int dividendExponent = 0;
  int divisorExponent = 0;
  auto numerator =
      static_cast<std::uint64_t>(std::ldexp(std::frexp(dividend, &dividendExponent), 53));
  auto denominator =
      static_cast<std::uint64_t>(std::ldexp(std::frexp(divisor, &divisorExponent), 53));
  int exponent = dividendExponent - divisorExponent;
  if (numerator < denominator) {
    numerator <<= 1;
    --exponent;
  }
  // numerator / denominator now lies in [1, 2): 64 quotient bits, a guard bit
  // and whether anything remains.
  std::uint64_t quotient = 0;
  for (int bit = 0; bit < 64; ++bit) {
    bool one = numerator >= denominator;
    numerator -= one ? denominator : 0;
    quotient = quotient << 1 | (one ? 1 : 0);
    numerator <<= 1;
  }
  bool guard = numerator >= denominator;
  numerator -= guard ? denominator : 0;
  bool sticky = numerator != 0;
  bool roundUp = guard && (sticky || (quotient & 1) != 0);
  if (roundUp && quotient == UINT64_MAX) {
    quotient = std::uint64_t{1} << 63;
    ++exponent;
  } else if (roundUp) {
    ++quotient;
  }
  std::uint64_t significand = roundOffBits(quotient, 11, false);
  return std::ldexp(static_cast<double>(significand), exponent - 52);
}

bool isOrdinary(double value) { return std::isfinite(value) && value != 0.0; }

} // namespace

double quotientBySignificand64(float dividend, float divisor) {
  double a = dividend;
  double b = divisor;
  if (std::isnan(a)) {
    return a;
  }
  if (std::isnan(b)) {
    return b;
  }
  // Zeros and infinities give the same result in every precision.
  if (!isOrdinary(a) || !isOrdinary(b)) {
    return a / b;
  }
  double magnitude = positiveQuotientBySignificand64(std::fabs(a), std::fabs(b));
  return std::signbit(a) != std::signbit(b) ? -magnitude : magnitude;
}

// The x87 unit rounds to the significand that its precision control selects.
// Linux starts programs with 64 bits. Windows starts them with 53, but the
// start-up code of MinGW-w64 resets the unit (fninit) before main, so the
// Windows program divides in 64 bits as well.
double quotientOfSingles(float dividend, float divisor) {
#if LDBL_MANT_DIG == 64
  if (std::isnan(dividend)) {
    return dividend;
  }
  if (std::isnan(divisor)) {
    return divisor;
  }
  return static_cast<double>(static_cast<long double>(dividend) /
                             static_cast<long double>(divisor));
#else
  return quotientBySignificand64(dividend, divisor);
#endif
}
