#include "AudioInput.h"

#include <sndfile.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "tools/render/Riff.h"

namespace render {
namespace {

class SoundFileSource : public SignalSource {
 public:
  SoundFileSource(SNDFILE* file, const SF_INFO& info, std::string path)
      : file_(file), info_(info), path_(std::move(path)) {}
  ~SoundFileSource() override { sf_close(file_); }

  int sampleRate() const override { return info_.samplerate; }
  int64_t frames() const override { return info_.frames; }
  int channels() const override { return info_.channels; }
  std::string description() const override { return path_; }

  bool Read(float* mono, int32_t count, std::string& error) override {
    const int channels = info_.channels;
    const int64_t wanted = std::min<int64_t>(count, info_.frames - position_);
    int32_t done = 0;
    if (wanted > 0) {
      interleaved_.resize(static_cast<size_t>(wanted) * static_cast<size_t>(channels));
      const sf_count_t got = sf_readf_float(file_, interleaved_.data(), wanted);
      if (got != wanted) {
        const char* reason = sf_strerror(file_);
        error = "cannot read " + path_ + " after " + std::to_string(position_ + std::max<sf_count_t>(got, 0)) +
                " frames: " + (reason && *reason && std::strcmp(reason, "No Error.") != 0 ? reason : "file ends early");
        return false;
      }
      // The plug-in hears one channel; an average keeps every channel's part
      // and cannot clip.
      for (int64_t n = 0; n < wanted; ++n) {
        double sum = 0.0;
        for (int c = 0; c < channels; ++c) sum += interleaved_[static_cast<size_t>(n * channels + c)];
        mono[n] = static_cast<float>(sum / channels);
      }
      done = static_cast<int32_t>(wanted);
      position_ += wanted;
    }
    std::fill(mono + done, mono + count, 0.0f);
    return true;
  }

 private:
  SNDFILE* file_;
  SF_INFO info_;
  std::string path_;
  int64_t position_ = 0;
  std::vector<float> interleaved_;
};

class BufferSource : public SignalSource {
 public:
  BufferSource(std::vector<float> samples, int sampleRate, std::string description)
      : samples_(std::move(samples)), sampleRate_(sampleRate), description_(std::move(description)) {}

  int sampleRate() const override { return sampleRate_; }
  int64_t frames() const override { return static_cast<int64_t>(samples_.size()); }
  int channels() const override { return 1; }
  std::string description() const override { return description_; }

  bool Read(float* mono, int32_t count, std::string&) override {
    const size_t available = samples_.size() - std::min(position_, samples_.size());
    const size_t taken = std::min<size_t>(available, static_cast<size_t>(count));
    std::copy_n(samples_.begin() + static_cast<std::ptrdiff_t>(position_), taken, mono);
    std::fill(mono + taken, mono + count, 0.0f);
    position_ += taken;
    return true;
  }

 private:
  std::vector<float> samples_;
  int sampleRate_;
  std::string description_;
  size_t position_ = 0;
};

class LazyRiffSource : public SignalSource {
 public:
  int sampleRate() const override { return kRiffSampleRate; }
  int64_t frames() const override { return kFrames; }
  int channels() const override { return 1; }
  std::string description() const override { return "the built-in riff"; }
  bool Read(float* mono, int32_t count, std::string& error) override {
    Prepare();
    return riff_->Read(mono, count, error);
  }
  void Prepare() override {
    if (!riff_) riff_ = MemorySource(SynthesizeRiff(), kRiffSampleRate, description());
  }

 private:
  static constexpr int64_t kFrames = static_cast<int64_t>(kRiffSeconds * kRiffSampleRate + 0.5);
  std::unique_ptr<SignalSource> riff_;
};

}  // namespace

std::unique_ptr<SignalSource> OpenSoundFile(const std::string& path, std::string& error) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0) {
    error = "cannot open input " + path + ": " + std::strerror(errno);
    return nullptr;
  }
  if (S_ISDIR(status.st_mode)) {
    error = "input " + path + " is a folder, not a sound file";
    return nullptr;
  }
  SF_INFO info;
  std::memset(&info, 0, sizeof info);
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) {
    error = "cannot read input " + path + ": " + sf_strerror(nullptr);
    return nullptr;
  }
  if (info.channels < 1 || info.samplerate < 1 || info.frames < 0) {
    sf_close(file);
    error = "cannot read input " + path + ": no usable audio in it";
    return nullptr;
  }
  if (info.samplerate > kMaxInputSampleRate) {
    sf_close(file);
    error = "cannot read input " + path + ": its header claims " + std::to_string(info.samplerate) + " Hz, above the " +
            std::to_string(kMaxInputSampleRate) + " Hz of any recording (a damaged file?)";
    return nullptr;
  }
  return std::make_unique<SoundFileSource>(file, info, path);
}

std::unique_ptr<SignalSource> MemorySource(std::vector<float> samples, int sampleRate, std::string description) {
  return std::make_unique<BufferSource>(std::move(samples), sampleRate, std::move(description));
}

std::unique_ptr<SignalSource> RiffSource() { return std::make_unique<LazyRiffSource>(); }

}  // namespace render
