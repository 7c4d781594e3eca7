// Whether a label reads as a number.
#pragma once

#include <string_view>

// Optional leading spaces, an optional sign, digits with an optional decimal
// point and an optional exponent, and nothing after. An empty text is not a
// number.
bool IsNumericText(std::string_view text);
