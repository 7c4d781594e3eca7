// The progress bar on stderr. Only on a terminal, and only once a render has
// run for a moment: short renders and redirected output stay clean.
#pragma once

#include <chrono>
#include <cstdint>

namespace render {

class Progress {
 public:
  Progress(int64_t totalFrames, int sampleRate);
  ~Progress();  // clears the bar

  void Update(int64_t framesDone);

 private:
  using Clock = std::chrono::steady_clock;
  bool enabled_;
  bool shown_ = false;
  int64_t total_;
  int sampleRate_;
  Clock::time_point start_;
  Clock::time_point lastDraw_;
};

}  // namespace render
