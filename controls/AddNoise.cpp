#include "AddNoise.h"

#include "controls/Random.h"

namespace {
uint32_t Noisy(uint32_t channel, int32_t n, uint32_t& randomState) {
  const int64_t d = int64_t{Random(randomState, n)} - n / 2;
  const int64_t moved = int64_t{channel} + d;
  return moved >= 0 && moved <= 255 ? static_cast<uint32_t>(moved) : channel;
}
}  // namespace

TColour AddNoise(TColour colour, int32_t n, uint32_t& randomState) {
  const uint32_t red = Noisy(RedOf(colour), n, randomState);
  const uint32_t green = Noisy(GreenOf(colour), n, randomState);
  const uint32_t blue = Noisy(BlueOf(colour), n, randomState);
  return MakeColour(red, green, blue);
}
