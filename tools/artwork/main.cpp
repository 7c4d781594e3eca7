// ondrel-artwork OUTDIR: draws every picture of the editor and writes each
// as OUTDIR/<component name>.bmp.
#include <cstdio>
#include <string>

#include "platform/BmpWriter.h"
#include "tools/artwork/Artwork.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: ondrel-artwork OUTDIR\n");
    return 2;
  }
  const std::string folder = argv[1];
  for (const TPicture& picture : MakeArtwork()) {
    const std::string path = folder + "/" + picture.Name + ".bmp";
    const std::vector<uint8_t> bytes = WriteBmp24(picture.Bitmap);
    FILE* file = std::fopen(path.c_str(), "wb");
    const bool written = file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file == nullptr || std::fclose(file) != 0 || !written) {
      std::fprintf(stderr, "ondrel-artwork: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
