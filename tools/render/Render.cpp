#include "Render.h"

#include <chrono>

#include "tools/render/AudioInput.h"
#include "tools/render/AudioOutput.h"
#include "tools/render/BlockPlan.h"
#include "tools/render/PluginSession.h"
#include "tools/render/Progress.h"

namespace render {

bool Render(PluginSession& session, SignalSource& source, OutputFile& output, const RenderJob& job,
            RenderResult& result, std::string& error) {
  const auto start = std::chrono::steady_clock::now();
  const int64_t total = source.frames() + job.tailFrames;
  const size_t block = static_cast<size_t>(job.blockSize);
  std::vector<float> mono(block), left(block), right(block);
  Progress progress(total, source.sampleRate());

  size_t nextChange = 0;
  int64_t position = 0;
  while (position < total) {
    if (job.stop && *job.stop) {
      error = "interrupted; nothing written";
      return false;
    }
    // Changes due now reach the plug-in between two process calls, as host
    // automation does.
    while (nextChange < job.automation.size() && job.automation[nextChange].frame <= position) {
      session.SetParameter(job.automation[nextChange].index, job.automation[nextChange].value);
      ++nextChange;
    }
    const int64_t changeFrame = nextChange < job.automation.size() ? job.automation[nextChange].frame : -1;
    const int32_t count = NextBlockLength(position, job.blockSize, total, changeFrame);
    if (!source.Read(mono.data(), count, error)) return false;
    session.Process(mono.data(), left.data(), right.data(), count);
    result.meter.Add(0, left.data(), count);
    result.meter.Add(1, right.data(), count);
    if (!output.Write(left.data(), right.data(), count, error)) return false;
    position += count;
    progress.Update(position);
  }
  result.frames = position;
  result.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return true;
}

}  // namespace render
