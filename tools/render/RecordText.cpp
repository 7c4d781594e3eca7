#include "RecordText.h"

#include <algorithm>

namespace render {

std::string FourCharText(int32_t code) {
  const uint32_t bits = static_cast<uint32_t>(code);
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const unsigned char c = static_cast<unsigned char>((bits >> shift) & 0xFFu);
    text += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
  }
  return text;
}

std::string DescribeFlags(int32_t flags) {
  static const struct {
    uint32_t bit;
    const char* name;
  } kNames[] = {{1, "editor"}, {2, "clip"}, {4, "vu"}, {8, "mono"}, {16, "replacing"}};
  uint32_t rest = static_cast<uint32_t>(flags);
  std::string names;
  for (const auto& known : kNames) {
    if (!(rest & known.bit)) continue;
    rest &= ~known.bit;
    names += (names.empty() ? "" : ", ") + std::string(known.name);
  }
  for (int bit = 0; bit < 32; ++bit) {
    const uint32_t mask = 1u << bit;
    if (rest & mask) names += (names.empty() ? "bit " : ", bit ") + std::to_string(bit);
  }
  return std::to_string(flags) + (names.empty() ? "" : " (" + names + ")");
}

std::string FormatTable(const std::vector<std::vector<std::string>>& rows) {
  std::vector<size_t> widths;
  for (const auto& row : rows) {
    if (widths.size() < row.size()) widths.resize(row.size(), 0);
    for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
  }
  std::string text;
  for (const auto& row : rows) {
    std::string line;
    for (size_t c = 0; c < row.size(); ++c) {
      if (c > 0) line += "  ";
      line += row[c];
      if (c + 1 < row.size()) line += std::string(widths[c] - row[c].size(), ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    text += line + "\n";
  }
  return text;
}

}  // namespace render
