// For the jalv check: how the two channels of a stereo recording compare.
//   ondrel-wav-sides FILE   prints "equal" when every left sample equals its
//                           right one, "differ" otherwise, and "silent" when
//                           the recording holds next to nothing
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: ondrel-wav-sides FILE\n", stderr);
    return 2;
  }
  SF_INFO info{};
  SNDFILE* file = sf_open(argv[1], SFM_READ, &info);
  if (file == nullptr || info.channels != 2) {
    std::fprintf(stderr, "ondrel-wav-sides: %s is not a stereo sound file\n", argv[1]);
    if (file != nullptr) sf_close(file);
    return 1;
  }
  std::vector<float> frames(static_cast<size_t>(info.frames) * 2);
  const sf_count_t read = sf_readf_float(file, frames.data(), info.frames);
  sf_close(file);
  bool equal = true;
  float loudest = 0.0f;
  for (size_t i = 0; i < static_cast<size_t>(read) * 2; i += 2) {
    equal = equal && frames[i] == frames[i + 1];
    loudest = std::fmax(loudest, std::fmax(std::fabs(frames[i]), std::fabs(frames[i + 1])));
  }
  // Above 16-bit quantisation noise by far: the metronome's beeps are there.
  std::puts(loudest < 0.003f ? "silent" : equal ? "equal" : "differ");
  return 0;
}
