#include "Progress.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "tools/render/Summary.h"

namespace render {
namespace {

constexpr auto kDelay = std::chrono::milliseconds(400);
constexpr auto kInterval = std::chrono::milliseconds(100);

}  // namespace

Progress::Progress(int64_t totalFrames, int sampleRate)
    : enabled_(isatty(STDERR_FILENO) == 1),
      total_(totalFrames),
      sampleRate_(sampleRate),
      start_(Clock::now()),
      lastDraw_(start_) {}

Progress::~Progress() {
  if (shown_) std::fputs("\r\033[K", stderr);
}

void Progress::Update(int64_t framesDone) {
  if (!enabled_ || total_ <= 0) return;
  const Clock::time_point now = Clock::now();
  if (now - start_ < kDelay || (shown_ && now - lastDraw_ < kInterval)) return;
  lastDraw_ = now;
  shown_ = true;
  const double rate = sampleRate_ > 0 ? sampleRate_ : 1;
  const std::string line =
      FormatProgress(static_cast<double>(framesDone) / static_cast<double>(total_),
                     static_cast<double>(framesDone) / rate, static_cast<double>(total_) / rate, 30);
  std::fprintf(stderr, "\r%s", line.c_str());
  std::fflush(stderr);
}

}  // namespace render
