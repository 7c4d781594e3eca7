#include "BlockPlan.h"

#include <algorithm>
#include <cmath>

namespace render {

int64_t FrameAt(double seconds, double sampleRate, int64_t limit) {
  const double frames = std::nearbyint(seconds * sampleRate);
  if (!(frames > 0.0)) return 0;  // also NaN
  if (frames >= static_cast<double>(limit)) return limit;
  return static_cast<int64_t>(frames);
}

int32_t NextBlockLength(int64_t position, int32_t blockSize, int64_t total, int64_t nextChange) {
  int64_t end = (position / blockSize + 1) * blockSize;
  end = std::min(end, total);
  if (nextChange > position) end = std::min(end, nextChange);
  return static_cast<int32_t>(std::max<int64_t>(end - position, 0));
}

}  // namespace render
