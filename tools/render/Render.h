// The render loop: source through the plug-in into the output file, block by
// block, with the automation applied between blocks.
#pragma once

#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/render/ParameterPlan.h"
#include "tools/render/Summary.h"

namespace render {

class PluginSession;
class SignalSource;
class OutputFile;

struct RenderJob {
  int64_t tailFrames = 0;
  int32_t blockSize = 512;
  std::vector<ParameterChange> automation;           // ordered by frame
  const volatile std::sig_atomic_t* stop = nullptr;  // set asynchronously to abandon the render
};

struct RenderResult {
  int64_t frames = 0;
  double wallSeconds = 0.0;
  OutputMeter meter{2};
};

// The session must be started. On failure returns false with a reason.
bool Render(PluginSession& session, SignalSource& source, OutputFile& output, const RenderJob& job,
            RenderResult& result, std::string& error);

}  // namespace render
