// The stereo output file. It is written under a temporary name in the target
// folder and renamed only when complete and read back whole, so a failed or
// interrupted render never leaves a half-written file and never spoils an
// existing one.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/render/Options.h"

namespace render {

// The libsndfile format of an output of this many frames: a WAV file whose
// sizes outgrow the 32 bits of its header becomes RF64, the WAV of 64-bit
// sizes that the common audio tools read.
int SoundFileFormatFor(OutputFormat format, int64_t frames);

class OutputFile {
 public:
  // Checks that the format can hold this sample rate, then creates the
  // temporary file, for a render of plannedFrames. An existing file of that
  // name is replaced at the end with its permissions kept; a symbolic link
  // keeps pointing where it did, and what it points to is replaced. On
  // failure returns null and a one-line reason.
  static std::unique_ptr<OutputFile> Create(const std::string& path, OutputFormat format, int sampleRate,
                                            int64_t plannedFrames, std::string& error);
  ~OutputFile();  // removes the temporary file unless Commit succeeded

  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool Write(const float* left, const float* right, int32_t count, std::string& error);

  // Finishes the file, reads its header back, and gives it its name.
  bool Commit(std::string& error);

  // For a handler of a fatal signal: removes the temporary file of the
  // render under way, if there is one. Async-signal-safe.
  static void RemovePartialFile();

 private:
  OutputFile() = default;
  void* file_ = nullptr;  // SNDFILE*
  int fd_ = -1;
  std::string path_;  // where the file goes: symbolic links followed
  std::string temporaryPath_;
  int sampleRate_ = 0;
  int64_t framesWritten_ = 0;
  bool integerSamples_ = false;
  bool committed_ = false;
  std::vector<float> interleaved_;
};

// Refuses an output that would replace the input file itself.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace render
