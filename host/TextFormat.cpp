#include "TextFormat.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <clocale>
#endif

namespace TextFormat {
namespace {

const char kHuge[] = "  Huge! ";

// The exact value rounded to 15 significant digits, as digit string and
// decimal exponent: value = 0.d1d2...d15 * 10^(exponent + 1).
struct Decimal {
  bool negative = false;
  char digits[16] = {};
  int exponent = 0;
};

Decimal ToDecimal(double value) {
  // "%.14e" of a float converted to double is correctly rounded by glibc and
  // by MinGW's own printf; it gives "d.dddddddddddddde[+-]xx".
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.14e", value);
  Decimal d;
  const char* p = buffer;
  if (*p == '-') {
    d.negative = true;
    ++p;
  }
  int n = 0;
  for (; *p && *p != 'e' && *p != 'E'; ++p) {
    if (*p >= '0' && *p <= '9' && n < 15) d.digits[n++] = *p;
  }
  d.digits[n] = '\0';
  if (*p) d.exponent = std::atoi(p + 1);
  return d;
}

}  // namespace

char LocaleDecimalSeparator() {
#if defined(_WIN32)
  char buffer[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer) > 0 && buffer[0] != '\0')
    return buffer[0];
  return '.';
#else
  const struct lconv* conventions = std::localeconv();
  if (conventions && conventions->decimal_point && conventions->decimal_point[0] != '\0')
    return conventions->decimal_point[0];
  return '.';
#endif
}

void FormatFloat(float value, char* text, char decimalSeparator) {
  if (value >= 10000000.0f || !(value > -1000000.0f)) {
    CopyText(text, kHuge, kDisplayChars);
    return;
  }
  if (value == 0.0f) {
    CopyText(text, "0.000000", kDisplayChars);
    return;
  }
  const Decimal d = ToDecimal(static_cast<double>(value));
  std::string digits(d.digits);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out;
  if (d.negative) out += '-';
  if (d.exponent < -5) {
    // Magnitudes below 0.00001: scientific notation.
    out += digits[0];
    if (digits.size() > 1) {
      out += decimalSeparator;
      out.append(digits, 1, std::string::npos);
    }
    out += 'E';
    out += std::to_string(d.exponent);
  } else if (d.exponent < 0) {
    out += '0';
    out += decimalSeparator;
    out.append(static_cast<size_t>(-d.exponent - 1), '0');
    out += digits;
  } else {
    const size_t whole = static_cast<size_t>(d.exponent) + 1;
    if (digits.size() <= whole) {
      out += digits;
      out.append(whole - digits.size(), '0');
    } else {
      out.append(digits, 0, whole);
      out += decimalSeparator;
      out.append(digits, whole, std::string::npos);
    }
  }
  CopyText(text, out.c_str(), kDisplayChars);
}

void CopyText(char* target, const char* source, int maxChars) {
  if (!target) return;
  int n = 0;
  if (source) {
    while (n < maxChars && source[n] != '\0') {
      target[n] = source[n];
      ++n;
    }
  }
  target[n] = '\0';
}

}  // namespace TextFormat
