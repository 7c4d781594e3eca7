// ondrel-snapshot: a picture of the editor exactly as a host shows it. The
// plug-in is built with its editor on the headless window; the values given
// with --set reach it through the parameter entry, and the editor is sized
// and opened through the dispatcher, as a host does.
#include <cstdio>
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
#include "tools/render/ParameterPlan.h"
#include "tools/render/PluginSession.h"
#include "tools/snapshot/SnapshotOptions.h"

namespace {

constexpr char kProgram[] = "ondrel-snapshot";

int Fail(const std::string& message, int code = 1) {
  std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
  return code;
}

void Warn(const std::string& message) { std::fprintf(stderr, "%s: warning: %s\n", kProgram, message.c_str()); }

// The plug-in as its library's entry point makes it, but built into this
// program with its editor on the headless window.
AEffect* VSTCALLBACK MakeOndrel(audioMasterCallback host) {
  return (new TOndrel(host, &CreateOndrelEditor))->getAeffect();
}

// What a host does to show an editor: set the values, ask the size, open it
// in its window and let it paint.
bool Render(render::PluginSession& session, const std::vector<render::ParameterSetting>& settings, TBitmap& picture,
            std::string& error) {
  std::vector<render::ParameterChange> changes;
  std::vector<std::string> warnings;
  if (!render::ResolveSettings(session, settings, changes, warnings, error)) return false;
  for (const std::string& warning : warnings) Warn(warning);
  for (const render::ParameterChange& change : changes) session.SetParameter(change.index, change.value);
  ERect* rect = nullptr;
  if (session.Dispatch(effEditGetRect, 0, 0, &rect) != 1 || rect == nullptr) {
    error = "the plug-in reports no editor size";
    return false;
  }
  // Any non-null handle stands for the host's window on the headless back end.
  static int hostWindow = 0;
  if (session.Dispatch(effEditOpen, 0, 0, &hostWindow) != 1) {
    error = "the editor did not open";
    return false;
  }
  auto* editor = static_cast<TOndrelEditor*>(TAudioEffect::FromRecord(session.effect())->getEditor());
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
  if (options.help) {
    std::fputs(snapshot::Usage().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("%s %s\n", kProgram, ONDREL_VERSION);
    return 0;
  }

  std::unique_ptr<render::PluginSession> session = render::PluginSession::Adopt(&MakeOndrel, "Ondrel", error);
  if (!session) return Fail(error);
  TBitmap picture;
  const bool rendered = Render(*session, options.settings, picture, error);
  session->Dispatch(effEditClose);
  session.reset();  // effClose
  if (!rendered) return Fail(error);
  if (!WritePng(picture, options.output)) {
    std::remove(options.output.c_str());
    return Fail("cannot write " + options.output);
  }
  std::printf("Wrote %s\n", options.output.c_str());
  return 0;
}
