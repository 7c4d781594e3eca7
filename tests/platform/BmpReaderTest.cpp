// Bitmap files: both row orders, row padding, the refusals that keep a bad
// file from reading out of bounds, and the writer's files read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/BmpReader.h"
#include "platform/BmpWriter.h"

namespace {

struct TFileLayout {
  int32_t Width = 2;
  int32_t Height = 2;  // negative: top-down
  uint16_t Bits = 24;
  uint32_t Compression = 0;
  uint32_t HeaderSize = 40;
};

void Put(std::vector<uint8_t>& out, size_t at, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

// The colour the test puts at (x, y) of the picture, distinct everywhere.
TColour Expected(int32_t x, int32_t y) {
  return MakeColour(static_cast<uint32_t>(10 + x * 20), static_cast<uint32_t>(200 - y * 30),
                    static_cast<uint32_t>(7 * x + 11 * y + 1));
}

// Written by hand, apart from the code under test: rows in file order,
// each padded with 0xEE bytes so that padding read as pixels shows.
std::vector<uint8_t> MakeFile(const TFileLayout& layout) {
  const int32_t rows = layout.Height < 0 ? -layout.Height : layout.Height;
  const size_t bytes = layout.Bits / 8u;
  const size_t stride = (static_cast<size_t>(std::max(layout.Width, 0)) * bytes + 3) / 4 * 4;
  // Room for the fields written below even where the header claims less.
  const size_t offset = 14 + std::max<size_t>(layout.HeaderSize, 40);
  std::vector<uint8_t> out(offset + stride * static_cast<size_t>(rows), 0xEE);
  out[0] = 'B';
  out[1] = 'M';
  Put(out, 2, static_cast<uint32_t>(out.size()), 4);
  Put(out, 6, 0, 4);
  Put(out, 10, static_cast<uint32_t>(offset), 4);
  Put(out, 14, layout.HeaderSize, 4);
  Put(out, 18, static_cast<uint32_t>(layout.Width), 4);
  Put(out, 22, static_cast<uint32_t>(layout.Height), 4);
  Put(out, 26, 1, 2);
  Put(out, 28, layout.Bits, 2);
  Put(out, 30, layout.Compression, 4);
  for (size_t i = 34; i < offset; ++i) out[i] = 0;
  // Other depths are refused before their pixels matter.
  for (int32_t row = 0; bytes >= 3 && row < rows; ++row) {
    const int32_t y = layout.Height < 0 ? row : rows - 1 - row;
    uint8_t* p = out.data() + offset + stride * static_cast<size_t>(row);
    for (int32_t x = 0; x < layout.Width; ++x, p += bytes) {
      const TColour c = Expected(x, y);
      p[0] = BlueOf(c);
      p[1] = GreenOf(c);
      p[2] = RedOf(c);
      if (bytes == 4) p[3] = 0x5A;
    }
  }
  return out;
}

void ExpectPicture(const std::vector<uint8_t>& file, int32_t width, int32_t height) {
  TBitmap b;
  std::string error;
  ASSERT_TRUE(ReadBmp(file.data(), file.size(), b, &error)) << error;
  ASSERT_EQ(b.Width(), width);
  ASSERT_EQ(b.Height(), height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) ASSERT_EQ(b.Pixel(x, y), Expected(x, y)) << x << "," << y;
  }
}

TEST(BmpReader, ReadsBothRowOrdersAndSkipsPaddingForEveryWidth) {
  for (int32_t width = 1; width <= 4; ++width) {
    SCOPED_TRACE(width);
    ExpectPicture(MakeFile({width, 3, 24, 0, 40}), width, 3);
    ExpectPicture(MakeFile({width, -3, 24, 0, 40}), width, 3);
    ExpectPicture(MakeFile({width, 3, 32, 0, 40}), width, 3);
  }
  // A V5 header moves the pixels further on.
  ExpectPicture(MakeFile({3, -2, 32, 0, 124}), 3, 2);
}

std::string Refusal(const std::vector<uint8_t>& file) {
  TBitmap b(1, 1, 0x123456);
  std::string error;
  EXPECT_FALSE(ReadBmp(file.data(), file.size(), b, &error));
  EXPECT_EQ(b.Pixel(0, 0), 0x123456u) << "a refused file leaves the bitmap alone";
  EXPECT_FALSE(error.empty());
  return error;
}

TEST(BmpReader, RefusesWhatItCannotReadWithAReason) {
  auto file = MakeFile({});
  file[0] = 'P';
  Refusal(file);
  Refusal(MakeFile({2, 2, 24, 1, 40}));  // run-length encoded
  Refusal(MakeFile({2, 2, 24, 3, 40}));  // bit fields
  Refusal(MakeFile({2, 2, 16, 0, 40}));
  Refusal(MakeFile({4, 2, 8, 0, 40}));   // palette
  Refusal(MakeFile({2, 2, 24, 0, 12}));  // the old core header
  Refusal(MakeFile({0, 2, 24, 0, 40}));
  Refusal(MakeFile({2, 0, 24, 0, 40}));
  Refusal(MakeFile({-2, 2, 24, 0, 40}));

  file = MakeFile({});
  Put(file, 26, 2, 2);  // planes
  Refusal(file);
  // Whole files, so that only the size can be wrong with them.
  Refusal(MakeFile({kMaxBitmapSide + 1, 1, 24, 0, 40}));
  Refusal(MakeFile({1, -kMaxBitmapSide - 1, 24, 0, 40}));
  for (const auto& [width, height] : {std::pair{INT32_MAX, 1}, {1, INT32_MIN}}) {
    file = MakeFile({});
    Put(file, 18, static_cast<uint32_t>(width), 4);
    Put(file, 22, static_cast<uint32_t>(height), 4);
    Refusal(file);
  }
  for (uint32_t offset : {uint32_t{20}, uint32_t{10000}, UINT32_MAX}) {
    file = MakeFile({});
    Put(file, 10, offset, 4);
    Refusal(file);
  }
  file = MakeFile({});
  Put(file, 14, UINT32_MAX, 4);  // header size
  Refusal(file);
  TBitmap untouched;
  EXPECT_FALSE(ReadBmp(nullptr, 0, untouched, nullptr));
}

TEST(BmpReader, EveryTruncationIsRefusedButAMissingLastPaddingIsNot) {
  // Three bytes of pixels per row, one of padding.
  const auto file = MakeFile({1, 2, 24, 0, 40});
  for (size_t length = 0; length + 1 < file.size(); ++length) {
    SCOPED_TRACE(length);
    const std::vector<uint8_t> cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
    Refusal(cut);
  }
  ExpectPicture(std::vector<uint8_t>(file.begin(), file.end() - 1), 1, 2);
}

TEST(BmpWriter, WritesFilesTheReaderGivesBack) {
  for (int32_t width = 1; width <= 5; ++width) {
    TBitmap b(width, 3);
    for (int32_t y = 0; y < 3; ++y) {
      for (int32_t x = 0; x < width; ++x) b.SetPixel(x, y, Expected(x, y));
    }
    const std::vector<uint8_t> file = WriteBmp24(b);
    EXPECT_EQ(file.size(), 54u + 3u * ((static_cast<size_t>(width) * 3 + 3) / 4 * 4));
    TBitmap back;
    ASSERT_TRUE(ReadBmp(file.data(), file.size(), back));
    EXPECT_EQ(back, b);
  }
}

}  // namespace
