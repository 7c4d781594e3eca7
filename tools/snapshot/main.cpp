// ondrel-snapshot: a picture of the editor exactly as a host shows it. The
// plug-in is built with its editor on the headless window; the values given
// with --set reach it through the parameter entry, and the editor is sized
// and opened through the dispatcher, as a host does.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/FloatGuard.h"
#include "dsp/Ondrel.h"
#include "editor/OndrelEditor.h"
#include "generated/OndrelVersion.h"
#include "platform/HeadlessWindow.h"
#include "plugin/OndrelEditorFactory.h"
#include "tools/png/PngFile.h"
#include "tools/render/ParameterNames.h"
#include "tools/snapshot/SnapshotOptions.h"

namespace {

constexpr char kProgram[] = "ondrel-snapshot";

intptr_t VSTCALLBACK Host(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

int Fail(const std::string& message, int code = 1) {
  std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
  return code;
}

std::string Text(AEffect* effect, int32_t opcode, int32_t index) {
  char text[64] = {};
  effect->dispatcher(effect, opcode, index, 0, text, 0.0f);
  return text;
}

// What a host does to show an editor: set the values, ask the size, open it
// in its window and let it paint.
bool Render(AEffect* effect, const std::vector<render::ParameterSetting>& settings, TBitmap& picture,
            std::string& error) {
  std::vector<std::string> names;
  for (int32_t i = 0; i < effect->numParams; ++i) names.push_back(Text(effect, effGetParamName, i));
  for (const render::ParameterSetting& setting : settings) {
    const int index = render::FindParameter(names, setting.parameter, error);
    if (index < 0) return false;
    float value = 0.0f;
    auto displayAt = [&](float probe) {
      const float old = effect->getParameter(effect, index);
      effect->setParameter(effect, index, probe);
      std::string shown = Text(effect, effGetParamDisplay, index);
      effect->setParameter(effect, index, old);
      return shown;
    };
    if (!render::ResolveValue(names[static_cast<size_t>(index)], setting.value, displayAt, value, error)) return false;
    effect->setParameter(effect, index, value);
  }
  ERect* rect = nullptr;
  if (effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.0f) != 1 || rect == nullptr) {
    error = "the plug-in reports no editor size";
    return false;
  }
  // Any non-null handle stands for the host's window on the headless back end.
  static int hostWindow = 0;
  if (effect->dispatcher(effect, effEditOpen, 0, 0, &hostWindow, 0.0f) != 1) {
    error = "the editor did not open";
    return false;
  }
  auto* editor = static_cast<TOndrelEditor*>(TAudioEffect::FromRecord(effect)->getEditor());
  auto* window = dynamic_cast<THeadlessWindow*>(editor->Form()->NativeWindow());
  if (window == nullptr) {
    error = "the editor has no window";
    return false;
  }
  window->ProcessPaint();
  picture = window->Screen();
  if (picture.Width() != rect->right - rect->left || picture.Height() != rect->bottom - rect->top) {
    error = "the editor painted a picture of another size than it reported";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  FloatGuard::EstablishProcessDefault();
  snapshot::Options options;
  std::string error;
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (!snapshot::ParseOptions(args, options, error)) {
    std::fprintf(stderr, "%s: %s\n%s", kProgram, error.c_str(), snapshot::Usage().c_str());
    return 2;
  }
  if (options.Help) {
    std::fputs(snapshot::Usage().c_str(), stdout);
    return 0;
  }
  if (options.Version) {
    std::printf("%s %s\n", kProgram, ONDREL_VERSION);
    return 0;
  }

  std::unique_ptr<TOndrel> plugin(new TOndrel(&Host, &CreateOndrelEditor));
  AEffect* effect = plugin->getAeffect();
  TBitmap picture;
  const bool rendered = Render(effect, options.Settings, picture, error);
  effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
  if (!rendered) return Fail(error);
  if (!WritePng(picture, options.Output)) {
    std::remove(options.Output.c_str());
    return Fail("cannot write " + options.Output);
  }
  std::printf("Wrote %s\n", options.Output.c_str());
  return 0;
}
