// The editor's pictures, compiled into the program (made from the .bmp files
// beside this header by cmake/EmbedAssets.cmake).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

struct TEmbeddedAsset {
  const char* Name;  // the image component's name, e.g. "iKnobLight"
  const uint8_t* Data;
  size_t Size;
};

// The picture of that name, or null.
const TEmbeddedAsset* FindEmbeddedAsset(std::string_view name);

// All of them, by name in byte order.
size_t EmbeddedAssetCount();
const TEmbeddedAsset& EmbeddedAssetAt(size_t index);
