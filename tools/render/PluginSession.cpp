#include "PluginSession.h"

#include <algorithm>
#include <cstring>

#include "host/QuietHost.h"

namespace render {
namespace {

// Beyond these a record is damaged rather than ambitious.
constexpr int kMaxChannels = 64;
constexpr int kMaxParameters = 100000;

}  // namespace

std::unique_ptr<PluginSession> PluginSession::Load(const std::string& path, std::string& error) {
  std::unique_ptr<PluginSession> session(new PluginSession());
  session->library_ = hostkit::PluginLibrary::Open(path, error);
  if (!session->library_) return nullptr;
  session->path_ = path;
  session->entryName_ = session->library_->entryName();
  if (!session->Open(session->library_->entry(), error)) return nullptr;
  return session;
}

std::unique_ptr<PluginSession> PluginSession::Adopt(hostkit::PluginEntryProc entry, const std::string& name,
                                                    std::string& error) {
  std::unique_ptr<PluginSession> session(new PluginSession());
  session->path_ = name;
  session->entryName_ = "entry point";
  if (!session->Open(entry, error)) return nullptr;
  return session;
}

bool PluginSession::Open(hostkit::PluginEntryProc entry, std::string& error) {
  // The renderer has no transport, no editor window and no automation to
  // receive: the host answers its version and nothing else.
  AEffect* effect = entry(QuietHost);
  if (!effect) {
    error = path_ + ": the plug-in's " + entryName_ + " returned no effect (null record)";
    return false;
  }
  if (effect->magic != kEffectMagic) {
    error = path_ + ": the record returned by " + entryName_ + " is not a VST 2 effect";
    return false;
  }
  if (!effect->dispatcher || !effect->setParameter || !effect->getParameter) {
    error = path_ + ": the effect record lacks its dispatcher or parameter entries";
    return false;
  }
  effect_ = effect;
  Dispatch(effOpen);
  return true;
}

PluginSession::~PluginSession() {
  if (!effect_) return;
  if (running_) Stop();
  Dispatch(effClose);
  effect_ = nullptr;
}

intptr_t PluginSession::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string PluginSession::Text(int32_t opcode, int32_t index) {
  // Far more room than the 9 bytes VST 2 promises: plug-ins write longer
  // names, and a host that gives only 9 bytes gets them overrun.
  char buffer[256];
  std::memset(buffer, 0, sizeof buffer);
  Dispatch(opcode, index, 0, buffer);
  buffer[sizeof buffer - 1] = '\0';
  return buffer;
}

int PluginSession::parameterCount() const { return std::clamp(effect_->numParams, 0, kMaxParameters); }

std::vector<std::string> PluginSession::ParameterNames() {
  std::vector<std::string> names;
  for (int i = 0; i < parameterCount(); ++i) names.push_back(ParameterName(i));
  return names;
}

std::string PluginSession::ParameterName(int index) { return Text(effGetParamName, index); }
std::string PluginSession::ParameterDisplay(int index) { return Text(effGetParamDisplay, index); }
std::string PluginSession::ParameterLabel(int index) { return Text(effGetParamLabel, index); }
std::string PluginSession::ProgramName() { return Text(effGetProgramName, 0); }

float PluginSession::GetParameter(int index) { return effect_->getParameter(effect_, index); }
void PluginSession::SetParameter(int index, float value) { effect_->setParameter(effect_, index, value); }

std::string PluginSession::DisplayAt(int index, float value) {
  const float before = GetParameter(index);
  SetParameter(index, value);
  const std::string display = ParameterDisplay(index);
  SetParameter(index, before);
  return display;
}

bool PluginSession::PrepareToRender(bool accumulate, std::string& error, std::string& note) {
  const AEffect& e = *effect_;
  if (e.numInputs < 0 || e.numInputs > kMaxChannels || e.numOutputs < 0 || e.numOutputs > kMaxChannels) {
    error = path() + ": the plug-in reports " + std::to_string(e.numInputs) + " inputs and " +
            std::to_string(e.numOutputs) + " outputs";
    return false;
  }
  if (e.numOutputs < 1) {
    error = path() + ": the plug-in has no audio outputs";
    return false;
  }
  const bool canReplace = e.processReplacing && (e.flags & effFlagsCanReplacing);
  if (accumulate && !e.process) {
    error = path() + ": the plug-in has no accumulating process entry (leave out --accumulate)";
    return false;
  }
  if (!accumulate && !canReplace) {
    if (!e.process) {
      error = path() + ": the plug-in has no process entry";
      return false;
    }
    note = "the plug-in cannot process replacing; using its accumulating entry";
    accumulate = true;
  }
  accumulate_ = accumulate;
  return true;
}

void PluginSession::Start(float sampleRate, int32_t blockSize) {
  // Fixed buffers of one block, as a host's audio engine has; the plug-in
  // never sees the render's own arrays.
  const size_t frames = static_cast<size_t>(blockSize);
  inputs_.assign(static_cast<size_t>(std::max(effect_->numInputs, 1)), std::vector<float>(frames, 0.0f));
  outputs_.assign(static_cast<size_t>(std::max(effect_->numOutputs, 1)), std::vector<float>(frames, 0.0f));
  inputPointers_.clear();
  outputPointers_.clear();
  for (auto& channel : inputs_) inputPointers_.push_back(channel.data());
  for (auto& channel : outputs_) outputPointers_.push_back(channel.data());

  Dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
  Dispatch(effSetBlockSize, 0, blockSize);
  Dispatch(effMainsChanged, 0, 1);
  running_ = true;
}

void PluginSession::Process(const float* mono, float* left, float* right, int32_t count) {
  for (auto& channel : inputs_) std::copy_n(mono, count, channel.data());
  // Accumulating adds to what is there; replacing should overwrite it, but a
  // plug-in that skips a channel then leaves silence, not the last block.
  for (auto& channel : outputs_) std::fill_n(channel.data(), count, 0.0f);
  if (accumulate_) {
    effect_->process(effect_, inputPointers_.data(), outputPointers_.data(), count);
  } else {
    effect_->processReplacing(effect_, inputPointers_.data(), outputPointers_.data(), count);
  }
  std::copy_n(outputs_[0].data(), count, left);
  std::copy_n(outputs_[outputs_.size() > 1 ? 1 : 0].data(), count, right);
}

void PluginSession::Stop() {
  Dispatch(effMainsChanged, 0, 0);
  running_ = false;
}

}  // namespace render
