#include "PngFile.h"

#include <png.h>

#include <cstdio>
#include <vector>

bool WritePng(const TBitmap& bitmap, const std::string& path, int32_t scale) {
  if (bitmap.Empty() || scale < 1) return false;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (png == nullptr || info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  const auto width = static_cast<png_uint_32>(bitmap.Width() * scale);
  const auto height = static_cast<png_uint_32>(bitmap.Height() * scale);
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> row(static_cast<size_t>(width) * 3);
  for (png_uint_32 y = 0; y < height; ++y) {
    const TColour* source = bitmap.Row(static_cast<int32_t>(y) / scale);
    for (png_uint_32 x = 0; x < width; ++x) {
      const TColour c = source[x / static_cast<png_uint_32>(scale)];
      row[x * 3] = RedOf(c);
      row[x * 3 + 1] = GreenOf(c);
      row[x * 3 + 2] = BlueOf(c);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}
