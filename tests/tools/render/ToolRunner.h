// Runs the built ondrel-render in a scratch folder and reads what it wrote,
// as a person at a shell would.
#pragma once

#include <sndfile.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace render_test {

namespace fs = std::filesystem;

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "ondrel-render-test-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

  // Every file in the folder, sorted, temporary ones included.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(path_)) {
      if (entry.is_regular_file()) names.push_back(fs::relative(entry.path(), path_).string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  fs::path path_;
};

struct ToolRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// A started run of a program; Finish waits for it and collects its output.
struct ToolProcess {
  pid_t pid = -1;
  std::string outName;
  std::string errName;
};

// Starts program with args in folder; environment adds NAME=VALUE entries,
// and the signals in ignored start ignored, as nohup leaves SIGHUP.
inline ToolProcess StartTool(const std::string& program, const std::vector<std::string>& args, const fs::path& folder,
                             const std::vector<std::string>& environment = {}, const std::vector<int>& ignored = {}) {
  char outName[] = "/tmp/ondrel-render-out-XXXXXX";
  char errName[] = "/tmp/ondrel-render-err-XXXXXX";
  const int outFd = mkstemp(outName);
  const int errFd = mkstemp(errName);
  ToolProcess process;
  process.outName = outName;
  process.errName = errName;
  process.pid = fork();
  if (process.pid == 0) {
    if (chdir(folder.c_str()) != 0) _exit(126);
    // A program a signal ends leaves no core file in the folder.
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    for (int number : ignored) std::signal(number, SIG_IGN);
    dup2(outFd, STDOUT_FILENO);
    dup2(errFd, STDERR_FILENO);
    for (const std::string& entry : environment) putenv(const_cast<char*>(entry.c_str()));
    std::vector<char*> argv;
#if defined(RENDER_TOOL_EMULATOR)
    // A cross-built tool may not run on this machine by itself (no binfmt
    // registration in CI): start it through the emulator the tests run under.
    static char emulator[] = RENDER_TOOL_EMULATOR;
    argv.push_back(emulator);
#endif
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(outFd);
  close(errFd);
  return process;
}

inline ToolRun Finish(const ToolProcess& process) {
  ToolRun run;
  int status = 0;
  if (process.pid > 0 && waitpid(process.pid, &status, 0) == process.pid) {
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  run.out = ReadFile(process.outName);
  run.err = ReadFile(process.errName);
  unlink(process.outName.c_str());
  unlink(process.errName.c_str());
  return run;
}

inline ToolRun RunTool(const std::string& program, const std::vector<std::string>& args, const fs::path& folder,
                       const std::vector<std::string>& environment = {}) {
  return Finish(StartTool(program, args, folder, environment));
}

struct Sound {
  bool ok = false;
  int sampleRate = 0;
  int channels = 0;
  int format = 0;
  std::vector<std::vector<float>> channel;  // one vector per channel
  sf_count_t frames() const { return channel.empty() ? 0 : static_cast<sf_count_t>(channel[0].size()); }
};

inline Sound ReadSound(const std::string& path) {
  Sound sound;
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) return sound;
  std::vector<float> interleaved(static_cast<size_t>(info.frames * info.channels));
  const sf_count_t got = sf_readf_float(file, interleaved.data(), info.frames);
  sf_close(file);
  sound.ok = got == info.frames;
  sound.sampleRate = info.samplerate;
  sound.channels = info.channels;
  sound.format = info.format;
  sound.channel.assign(static_cast<size_t>(info.channels), std::vector<float>(static_cast<size_t>(info.frames)));
  for (sf_count_t n = 0; n < info.frames; ++n) {
    for (int c = 0; c < info.channels; ++c) {
      sound.channel[static_cast<size_t>(c)][static_cast<size_t>(n)] =
          interleaved[static_cast<size_t>(n * info.channels + c)];
    }
  }
  return sound;
}

// Writes channels (all of one length) as a float WAV file.
inline bool WriteSound(const std::string& path, int sampleRate, const std::vector<std::vector<float>>& channels) {
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = static_cast<int>(channels.size());
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) return false;
  const size_t frames = channels[0].size();
  std::vector<float> interleaved(frames * channels.size());
  for (size_t n = 0; n < frames; ++n) {
    for (size_t c = 0; c < channels.size(); ++c) interleaved[n * channels.size() + c] = channels[c][n];
  }
  const bool written =
      sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(frames)) == static_cast<sf_count_t>(frames);
  return sf_close(file) == 0 && written;
}

}  // namespace render_test
