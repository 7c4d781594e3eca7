// Runs a fixed amount of work (100 blocks of 512 frames) of the floor loop
// or of one processing setting, so that valgrind's instruction counts give
// instructions per frame, independent of how busy the machine is
// (count-instructions.sh beside this file runs it under valgrind).
// Arguments: MODE ANTIALIAS BASS, or "floor" for the floor loop.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench/dsp/FloorLoop.h"
#include "dsp/Ondrel.h"

int main(int argc, char** argv) {
  constexpr int32_t kBlock = 512;
  constexpr int kBlocks = 100;
  std::vector<float> in(kBlock), left(kBlock), right(kBlock);
  for (int32_t n = 0; n < kBlock; ++n) in[static_cast<size_t>(n)] = static_cast<float>(0.5 * std::sin(0.0123 * n));
  if (argc > 1 && std::strcmp(argv[1], "floor") == 0) {
    FloorLoop loop;
    for (int b = 0; b < kBlocks; ++b) loop.Run(in.data(), left.data(), right.data(), kBlock);
  } else {
    TOndrel fx(nullptr);
    fx.setParameter(kStereoMode, argc > 1 ? static_cast<float>(std::atoi(argv[1])) / 3.0f : 0.6f);
    fx.setParameter(kAntiAlias, argc > 2 ? static_cast<float>(std::atof(argv[2])) : 1.0f);
    fx.setParameter(kBassMode, argc > 3 ? static_cast<float>(std::atof(argv[3])) : 1.0f);
    float* inputs[1] = {in.data()};
    float* outputs[2] = {left.data(), right.data()};
    for (int b = 0; b < kBlocks; ++b) fx.processReplacing(inputs, outputs, kBlock);
  }
  std::printf("%g\n", static_cast<double>(left[kBlock - 1]));
  return 0;
}
