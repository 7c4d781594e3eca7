#include "OndrelEditorFactory.h"

#include <memory>

#include "editor/OndrelEditor.h"

namespace {

// The editor's values are the plug-in's stored parameters; its switches are
// the plug-in's working values, derived when the parameters were stored.
class TPluginParameters final : public TParameterAccess {
 public:
  explicit TPluginParameters(TOndrel& plugin) : plugin_(plugin) {}

  float Value(int32_t index) const override { return plugin_.ParameterValue(index); }
  bool BassMode() const override { return plugin_.IsBassMode(); }
  bool AntiAlias() const override { return plugin_.IsAntiAlias(); }
  uint8_t ChannelMode() const override { return plugin_.ChannelModeNumber(); }
  // Not through setParameter: the editor's own writes are not reported back
  // to it, nor to the host.
  void Store(int32_t index, float value) override { plugin_.StoreParameter(index, value); }
  void Recompute() override { plugin_.UpdateCoefficients(); }

 private:
  TOndrel& plugin_;
};

}  // namespace

TOndrelEditorLink* CreateOndrelEditor(TOndrel* plugin) {
  return new TOndrelEditor(plugin, std::make_unique<TPluginParameters>(*plugin));
}
