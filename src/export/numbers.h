#pragma once

#include <cstddef>
#include <cstdint>

// Room for the longest number text of any double in either form.
constexpr std::size_t kNumberTextCapacity = 330;
// Room for the longest date-time text.
constexpr std::size_t kDateTimeTextCapacity = 48;

// Fixed-point text with 4 decimals, right-aligned to 10 characters, and with
// 2 decimals, right-aligned to 12: the exact binary value rounded to nearest,
// ties to even; "-" for every negative value, negative zero included; "." as
// the decimal point whatever the locale; "+INF", "-INF", "+NAN", "-NAN" for
// the values that are not finite. Returns the length written to out.
std::size_t formatFourDecimals(double value, char *out);
std::size_t formatTwoDecimals(double value, char *out);

// "yyyy.mm.dd hh:mm:ss", each number at least as wide as its field and filled
// with leading zeros after its sign.
std::size_t formatDateTime(std::int32_t year, std::int32_t month, std::int32_t day,
                           std::int32_t hour, std::int32_t minute, std::int32_t second, char *out);

// The product of two singles, exact in double. A NaN operand gives that NaN,
// the first one's when both are.
double productOfSingles(float first, float second);

// The quotient of two singles as the handheld's desktop program computed it:
// rounded to a 64-bit significand, then to the nearest double. A NaN operand
// gives that NaN, the dividend's when both are.
double quotientOfSingles(float dividend, float divisor);

// The same double rounding with integer arithmetic only, for platforms whose
// long double has no 64-bit significand.
double quotientBySignificand64(float dividend, float divisor);
