// Text for the host: the numeric display formats of parameter values.
// Each writes at most 8 characters and a terminating zero (9 bytes).
#pragma once

#include <cstdint>

namespace TextFormat {

constexpr int kDisplayChars = 8;

// The decimal separator of the user's locale settings (Windows: the user
// default locale; elsewhere the C library's current numeric locale).
char LocaleDecimalSeparator();

// General format with at most 15 significant digits, cut to 8 characters;
// "  Huge! " for values from 1e7 up, for values not above -1e6 and for NaN.
void FormatFloat(float value, char* text, char decimalSeparator);

// Copies at most maxChars characters of source and a terminating zero.
void CopyText(char* target, const char* source, int maxChars);

}  // namespace TextFormat
