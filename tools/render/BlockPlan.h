// Where the render loop cuts the audio into process calls: on the host's
// fixed grid of --block frames, and additionally wherever an automation
// change falls, so the change lands on its own frame.
#pragma once

#include <cstdint>

namespace render {

// The frame of a time in seconds, rounded to nearest and held to 0..limit,
// without undefined conversions for huge times.
int64_t FrameAt(double seconds, double sampleRate, int64_t limit);

// The length of the next process call that starts at position: up to the
// next grid line (a multiple of blockSize), the next change (nextChange, or a
// negative number when no change is left) or the end, whichever comes first.
int32_t NextBlockLength(int64_t position, int32_t blockSize, int64_t total, int64_t nextChange);

}  // namespace render
