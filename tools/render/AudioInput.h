// Where the mono signal comes from: a sound file read with libsndfile (any
// channel count, mixed down) or samples already in memory (the built-in
// riff). Read in pieces, so long files are never held whole.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace render {

class SignalSource {
 public:
  virtual ~SignalSource() = default;
  virtual int sampleRate() const = 0;
  virtual int64_t frames() const = 0;
  virtual int channels() const = 0;  // before the mixdown
  virtual std::string description() const = 0;
  // Fills mono with the next count frames; past the end with silence. Returns
  // false with a reason when the file cannot be read.
  virtual bool Read(float* mono, int32_t count, std::string& error) = 0;
  // Does any slow preparation now, so that it is not counted as rendering.
  virtual void Prepare() {}
};

// The highest sample rate a recording has. A header that claims more is
// damaged, and taken at its word would schedule gigabytes of tail.
constexpr int kMaxInputSampleRate = 768000;

// Opens a sound file. On failure returns null and a one-line reason.
std::unique_ptr<SignalSource> OpenSoundFile(const std::string& path, std::string& error);

std::unique_ptr<SignalSource> MemorySource(std::vector<float> samples, int sampleRate, std::string description);

// The built-in riff, made at its first read, so that a mistake on the command
// line is reported before any time goes into the synthesis.
std::unique_ptr<SignalSource> RiffSource();

}  // namespace render
