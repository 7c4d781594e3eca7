#include "EditorPictures.h"

#include "editor/assets/EmbeddedAssets.h"
#include "platform/BmpReader.h"

TBitmap EditorPicture(const std::string& name) {
  TBitmap picture;
  if (name.empty()) return picture;
  const TEmbeddedAsset* asset = FindEmbeddedAsset(name);
  if (asset == nullptr || !ReadBmp(asset->Data, asset->Size, picture)) return TBitmap();
  return picture;
}
