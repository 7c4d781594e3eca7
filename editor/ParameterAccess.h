// How the editor reaches the nine parameter values of what it edits, without
// knowing what that is: the plug-in object itself in the VST 2 module, the
// host's control ports in the LV2 editor. Indices as in ParameterRules.h.
#pragma once

#include <cstdint>

class TParameterAccess {
 public:
  virtual ~TParameterAccess() = default;

  // The stored value, unchanged; 0 for an index out of range. Any thread.
  virtual float Value(int32_t index) const = 0;
  // The switches as the sound reads them (IsSwitchOn, ChannelModeOf).
  virtual bool BassMode() const = 0;
  virtual bool AntiAlias() const = 0;
  virtual uint8_t ChannelMode() const = 0;

  // The editor's own write, from the window thread; it is not reported back
  // to the editor as a change. Out-of-range indices store nothing.
  virtual void Store(int32_t index, float value) = 0;
  // After a round of Store calls: bring what depends on the values up to date.
  virtual void Recompute() = 0;
};
