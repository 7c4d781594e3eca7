#include "AudioOutput.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace render {
namespace {

// The temporary file of the render under way, where a signal handler can
// reach it without allocating: set and cleared with every signal blocked.
char partialPath[4096];
volatile std::sig_atomic_t hasPartialPath = 0;

class SignalsHeldBack {
 public:
  SignalsHeldBack() {
    sigset_t all;
    sigfillset(&all);
    sigprocmask(SIG_BLOCK, &all, &previous_);
  }
  ~SignalsHeldBack() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }

 private:
  sigset_t previous_;
};

void ForgetPartialFile() {
  SignalsHeldBack held;
  hasPartialPath = 0;
}

// What a WAV header's 32-bit sizes can count, less room for the chunks
// before the samples (libsndfile's take about a hundred bytes).
constexpr int64_t kWavLimitBytes = INT64_C(0xFFFFFFFF) - 4096;

int BytesPerFrame(OutputFormat format) {
  switch (format) {
    case OutputFormat::Pcm16: return 2 * 2;
    case OutputFormat::Pcm24:
    case OutputFormat::Flac: return 2 * 3;
    case OutputFormat::Float32: break;
  }
  return 2 * 4;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file that opening path for writing would write: symbolic links
// followed to their end, which need not exist yet.
bool FollowLinks(const std::string& path, std::string& target, std::string& error) {
  target = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat status;
    if (lstat(target.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return true;
    std::vector<char> buffer(256);
    ssize_t length;
    while ((length = readlink(target.c_str(), buffer.data(), buffer.size())) == static_cast<ssize_t>(buffer.size())) {
      buffer.resize(buffer.size() * 2);
    }
    if (length <= 0) {
      error = "cannot follow the link " + target + ": " + std::strerror(length < 0 ? errno : ENOENT);
      return false;
    }
    const std::string next(buffer.data(), static_cast<size_t>(length));
    target = next[0] == '/' ? next : FolderOf(target) + "/" + next;
  }
  error = "cannot follow the link " + path + ": " + std::strerror(ELOOP);
  return false;
}

}  // namespace

int SoundFileFormatFor(OutputFormat format, int64_t frames) {
  switch (format) {
    case OutputFormat::Flac: return SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
    case OutputFormat::Pcm16:
    case OutputFormat::Pcm24:
    case OutputFormat::Float32: break;
  }
  const int container = frames > kWavLimitBytes / BytesPerFrame(format) ? SF_FORMAT_RF64 : SF_FORMAT_WAV;
  switch (format) {
    case OutputFormat::Pcm16: return container | SF_FORMAT_PCM_16;
    case OutputFormat::Pcm24: return container | SF_FORMAT_PCM_24;
    default: return container | SF_FORMAT_FLOAT;
  }
}

void OutputFile::RemovePartialFile() {
  if (hasPartialPath) unlink(partialPath);
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first, second;
  if (stat(a.c_str(), &first) != 0 || stat(b.c_str(), &second) != 0) return false;
  return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::unique_ptr<OutputFile> OutputFile::Create(const std::string& path, OutputFormat format, int sampleRate,
                                               int64_t plannedFrames, std::string& error) {
  SF_INFO info;
  std::memset(&info, 0, sizeof info);
  info.samplerate = sampleRate;
  info.channels = 2;
  info.format = SoundFileFormatFor(format, plannedFrames);
  if (!sf_format_check(&info)) {
    error = std::string("cannot write ") + FormatName(format) + " at " + std::to_string(sampleRate) + " Hz";
    return nullptr;
  }
  std::string target;
  if (!FollowLinks(path, target, error)) return nullptr;
  struct stat status;
  const bool replacing = stat(target.c_str(), &status) == 0;
  if (replacing && S_ISDIR(status.st_mode)) {
    error = "output " + path + " is a folder";
    return nullptr;
  }

  std::unique_ptr<OutputFile> output(new OutputFile());
  output->path_ = target;
  output->sampleRate_ = sampleRate;
  output->integerSamples_ = format != OutputFormat::Float32;
  // Same folder as the target, so the final rename cannot cross file systems.
  std::string pattern = FolderOf(target) + "/." + NameOf(target) + ".partial-XXXXXX";
  if (pattern.size() >= sizeof partialPath) {
    error = "cannot write " + path + ": " + std::strerror(ENAMETOOLONG);
    return nullptr;
  }
  int fd;
  {
    SignalsHeldBack held;
    fd = mkstemp(pattern.data());
    if (fd >= 0) {
      std::memcpy(partialPath, pattern.c_str(), pattern.size() + 1);
      hasPartialPath = 1;
    }
  }
  if (fd < 0) {
    error = "cannot write to " + FolderOf(target) + ": " + std::strerror(errno);
    return nullptr;
  }
  output->temporaryPath_ = pattern;
  if (replacing && S_ISREG(status.st_mode)) {
    // The file replaced keeps its mode, and its owner and group where we
    // may give them (owner first: a change of owner clears set-id bits).
    const bool owned = fchown(fd, status.st_uid, status.st_gid) == 0;
    if (!owned && fchown(fd, static_cast<uid_t>(-1), status.st_gid) != 0) {
      // Then it is ours, in our group, as a new file would be.
    }
    fchmod(fd, status.st_mode & 07777);
  } else {
    // mkstemp makes the file private; a new file gets the permissions any
    // newly created file gets.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
  }

  output->fd_ = fd;
  SNDFILE* file = sf_open_fd(fd, SFM_WRITE, &info, SF_FALSE);
  if (!file) {
    error = "cannot write " + path + ": " + sf_strerror(nullptr);
    return nullptr;  // the destructor removes the temporary file
  }
  output->file_ = file;
  // Beyond full scale, integer formats clip rather than wrap around.
  sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  return output;
}

OutputFile::~OutputFile() {
  if (file_) sf_close(static_cast<SNDFILE*>(file_));
  if (fd_ >= 0) close(fd_);
  if (!committed_ && !temporaryPath_.empty()) unlink(temporaryPath_.c_str());
  ForgetPartialFile();
}

bool OutputFile::Write(const float* left, const float* right, int32_t count, std::string& error) {
  interleaved_.resize(static_cast<size_t>(count) * 2);
  for (int32_t n = 0; n < count; ++n) {
    float l = left[n];
    float r = right[n];
    // An integer sample has no NaN or infinity; silence is the honest stand-in
    // (the summary warns about them).
    if (integerSamples_) {
      if (!std::isfinite(l)) l = 0.0f;
      if (!std::isfinite(r)) r = 0.0f;
    }
    interleaved_[static_cast<size_t>(2 * n)] = l;
    interleaved_[static_cast<size_t>(2 * n + 1)] = r;
  }
  SNDFILE* file = static_cast<SNDFILE*>(file_);
  if (sf_writef_float(file, interleaved_.data(), count) != count) {
    error = "cannot write " + path_ + ": " + sf_strerror(file);
    return false;
  }
  framesWritten_ += count;
  return true;
}

bool OutputFile::Commit(std::string& error) {
  SNDFILE* file = static_cast<SNDFILE*>(file_);
  file_ = nullptr;
  const bool closed = sf_close(file) == 0;
  // On disk before it gets its name: after a crash the name holds either the
  // old file or the whole new one.
  const bool synced = fsync(fd_) == 0;
  const int syncError = errno;
  if (!closed || !synced) {
    error = "cannot finish " + path_ + ": " + (closed ? std::strerror(syncError) : sf_strerror(nullptr));
    return false;
  }
  // A header its format cannot hold is written without complaint: only
  // reading it back shows it. Through our own descriptor, which may read
  // whatever mode the file was given.
  SF_INFO back;
  std::memset(&back, 0, sizeof back);
  if (lseek(fd_, 0, SEEK_SET) == 0) {
    if (SNDFILE* reread = sf_open_fd(fd_, SFM_READ, &back, SF_FALSE)) sf_close(reread);
  }
  close(fd_);
  fd_ = -1;
  if (back.frames != framesWritten_ || back.channels != 2 || back.samplerate != sampleRate_) {
    error = "cannot finish " + path_ + ": it reads back as " + std::to_string(back.frames) + " frames of the " +
            std::to_string(framesWritten_) + " written";
    return false;
  }
  if (std::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
    error = "cannot write " + path_ + ": " + std::strerror(errno);
    return false;
  }
  committed_ = true;
  return true;
}

}  // namespace render
