// Text for --list: the effect record's identifier and flags, and a plain
// table with aligned columns.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace render {

// "Odrl" for a packed four-character code; characters that do not print
// show as '?'.
std::string FourCharText(int32_t code);

// "17 (editor, replacing)"; unknown bits are listed as numbers.
std::string DescribeFlags(int32_t flags);

// Rows of cells as lines, each column as wide as its widest cell, two spaces
// between columns, no trailing spaces.
std::string FormatTable(const std::vector<std::vector<std::string>>& rows);

}  // namespace render
