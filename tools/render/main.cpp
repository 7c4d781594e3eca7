// ondrel-render: hear the plug-in without a workstation. Loads a VST 2
// plug-in as a host would, runs a sound file (or the built-in riff) through
// it and writes the stereo result.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "generated/OndrelVersion.h"
#include "tools/hostkit/PluginLibrary.h"
#include "tools/render/AudioInput.h"
#include "tools/render/AudioOutput.h"
#include "tools/render/Automation.h"
#include "tools/render/BlockPlan.h"
#include "tools/render/ListReport.h"
#include "tools/render/Options.h"
#include "tools/render/ParameterPlan.h"
#include "tools/render/PluginSession.h"
#include "tools/render/Render.h"
#include "tools/render/Riff.h"

namespace {

constexpr char kProgram[] = "ondrel-render";
constexpr int kFailed = 1;
constexpr int kBadCommandLine = 2;

// The number of the signal that asked the render to end, or 0.
volatile std::sig_atomic_t stopRequested = 0;

extern "C" void RequestStop(int number) { stopRequested = number; }

// A fault (in a plug-in, most likely) cannot be returned to: the temporary
// file goes now, and the signal ends the program as it would have.
extern "C" void RemovePartialFileAndDie(int number) {
  render::OutputFile::RemovePartialFile();
  std::raise(number);  // the handler was reset on entry
}

void Catch(int number, void (*handler)(int), int flags) {
  struct sigaction previous;
  // Ignored when we started (nohup, a shell's background job): stays so.
  if (sigaction(number, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) return;
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = flags;
  sigaction(number, &action, nullptr);
}

// Every signal whose default ends the program leaves no temporary file
// behind. One sent to us (Ctrl-C, a closed terminal, kill) stops the render
// between two blocks, the plug-in is closed properly, and the exit code is
// 128 + the signal's number, as the shell reports a program a signal ended.
// Caught from the start: a signal that arrives while the file is being set
// up must not leave it behind.
void CatchTerminatingSignals() {
  for (int number : {
         SIGHUP, SIGINT, SIGQUIT, SIGPIPE, SIGALRM, SIGTERM, SIGUSR1, SIGUSR2, SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF,
             SIGIO,
#if defined(SIGPWR)
             SIGPWR,
#endif
#if defined(SIGSTKFLT)
             SIGSTKFLT,
#endif
       }) {
    // Restarted system calls: a signal between two blocks must not turn
    // into a failed write.
    Catch(number, RequestStop, SA_RESTART);
  }
  for (int number = SIGRTMIN; number <= SIGRTMAX; ++number) Catch(number, RequestStop, SA_RESTART);
  for (int number : {SIGILL, SIGTRAP, SIGABRT, SIGBUS, SIGFPE, SIGSEGV, SIGSYS}) {
    // sa_flags is an int, and SA_RESETHAND is its sign bit.
    Catch(number, RemovePartialFileAndDie, static_cast<int>(SA_RESETHAND | SA_NODEFER));
  }
}

int Fail(const std::string& message, int code = kFailed) {
  std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
  return code;
}

void Warn(const std::string& message) { std::fprintf(stderr, "%s: warning: %s\n", kProgram, message.c_str()); }

// The whole file or an error: a folder, or a read that fails half-way, is
// no empty automation.
bool ReadTextFile(const std::string& path, std::string& text, std::string& error) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = "cannot read automation file " + path + ": " + std::strerror(errno);
    return false;
  }
  text.clear();
  char buffer[65536];
  ssize_t got;
  while ((got = read(fd, buffer, sizeof buffer)) != 0) {
    if (got > 0) {
      text.append(buffer, static_cast<size_t>(got));
    } else if (errno != EINTR) {
      error = "cannot read automation file " + path + ": " + std::strerror(errno);
      close(fd);
      return false;
    }
  }
  close(fd);
  return true;
}

// With --set the values are applied first, so a person can see what a value
// shows before rendering with it.
int List(const std::string& pluginPath, const std::vector<render::ParameterSetting>& settings) {
  std::string error;
  std::unique_ptr<render::PluginSession> session = render::PluginSession::Load(pluginPath, error);
  if (!session) return Fail(error);
  std::vector<render::ParameterChange> changes;
  std::vector<std::string> warnings;
  if (!render::ResolveSettings(*session, settings, changes, warnings, error)) return Fail(error);
  for (const std::string& warning : warnings) Warn(warning);
  for (const render::ParameterChange& change : changes) session->SetParameter(change.index, change.value);
  std::fputs(render::ListReport(*session).c_str(), stdout);
  return 0;
}

void Report(const render::RenderResult& result, int sampleRate, render::OutputFormat format) {
  std::printf("Rendered %s\n",
              render::FormatSummary(result.frames, sampleRate, result.wallSeconds, result.meter).c_str());
  if (result.meter.nonFinite() > 0) {
    Warn(std::to_string(result.meter.nonFinite()) + " output samples were not finite (NaN or infinite)" +
         (format == render::OutputFormat::Float32 ? "" : "; they were written as silence"));
  }
  if (format == render::OutputFormat::Float32) return;
  for (float peak : result.meter.peaks()) {
    if (peak > 1.0f) {
      Warn("the output goes above full scale and was clipped; float32 keeps it whole");
      return;
    }
  }
}

int RenderFile(const render::Options& options, const std::string& pluginPath) {
  CatchTerminatingSignals();
  std::string error;
  render::OutputChoice output;
  if (!render::ChooseOutput(options, output, error)) return Fail(error, kBadCommandLine);

  std::unique_ptr<render::SignalSource> source;
  if (options.input.empty()) {
    source = render::RiffSource();
  } else {
    source = render::OpenSoundFile(options.input, error);
    if (!source) return Fail(error);
    if (render::SameFile(options.input, output.path)) {
      return Fail("the output " + output.path + " is the input file; choose another name with -o");
    }
    if (source->frames() == 0) Warn("input " + options.input + " holds no audio frames; only the tail is rendered");
  }
  const double sampleRate = source->sampleRate();

  std::vector<render::AutomationEvent> events;
  if (!options.automationFile.empty()) {
    std::string text;
    if (!ReadTextFile(options.automationFile, text, error)) return Fail(error);
    if (!render::ParseAutomation(text, options.automationFile, events, error)) return Fail(error);
  }

  std::unique_ptr<render::PluginSession> session = render::PluginSession::Load(pluginPath, error);
  if (!session) return Fail(error);
  std::string note;
  if (!session->PrepareToRender(options.accumulate, error, note)) return Fail(error);
  if (!note.empty()) std::fprintf(stderr, "%s: note: %s\n", kProgram, note.c_str());

  render::RenderJob job;
  job.blockSize = options.blockSize;
  job.tailFrames = render::FrameAt(options.tailSeconds, sampleRate, INT64_C(1) << 40);
  job.stop = &stopRequested;
  const int64_t totalFrames = source->frames() + job.tailFrames;

  session->Start(static_cast<float>(sampleRate), options.blockSize);
  std::vector<render::ParameterChange> settings;
  std::vector<std::string> warnings;
  if (!render::ResolveSettings(*session, options.settings, settings, warnings, error)) return Fail(error);
  if (!render::ResolveAutomation(*session, events, options.automationFile, sampleRate, totalFrames, job.automation,
                                 warnings, error)) {
    return Fail(error);
  }
  for (const std::string& warning : warnings) Warn(warning);
  for (const render::ParameterChange& setting : settings) session->SetParameter(setting.index, setting.value);

  std::unique_ptr<render::OutputFile> file =
      render::OutputFile::Create(output.path, output.format, source->sampleRate(), totalFrames, error);
  if (!file) return Fail(error);

  source->Prepare();
  render::RenderResult result;
  const bool rendered = render::Render(*session, *source, *file, job, result, error);
  session.reset();  // effMainsChanged(0), effClose
  if (!rendered) return Fail(error, stopRequested != 0 ? 128 + stopRequested : kFailed);
  if (!file->Commit(error)) return Fail(error);

  Report(result, source->sampleRate(), output.format);
  std::printf("Wrote %s\n", output.path.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  render::Options options;
  std::string error;
  if (!render::ParseArguments(args, options, error)) return Fail(error, kBadCommandLine);
  if (options.help) {
    std::fputs(render::UsageText(kProgram).c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("%s %s\n", kProgram, ONDREL_VERSION);
    return 0;
  }
  const std::string pluginPath = options.pluginPath.empty() ? hostkit::DefaultPluginPath() : options.pluginPath;
  if (options.list) return List(pluginPath, options.settings);
  return RenderFile(options, pluginPath);
}
