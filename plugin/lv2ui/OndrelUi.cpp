// The LV2 editor, Ondrel_ui.so: the VST 2 plug-in's editor object and form
// inside the host's X11 window, on the host's control ports instead of a
// plug-in object. Its one export is lv2ui_descriptor.
//
// Threads: the host calls every entry below on its UI thread. The form lives
// on the window back end's event thread; the editor object hands values
// between the two as it does for a VST 2 host. What the editor writes reaches
// the host in idle (see TPortLink).
#include <lv2/ui/ui.h>

#include <cstring>
#include <memory>
#include <mutex>

#include "core/FloatGuard.h"
#include "editor/OndrelEditor.h"
#include "platform/x11/X11Window.h"
#include "plugin/lv2/Lv2Ports.h"
#include "plugin/lv2ui/PortLink.h"

namespace {

using ondrel_lv2::kFirstControlPort;

struct TOndrelUi {
  LV2UI_Write_Function write = nullptr;
  LV2UI_Controller controller = nullptr;
  TPortLink* link = nullptr;  // owned by the editor
  std::unique_ptr<TOndrelEditor> editor;
};

const LV2_Feature* FindFeature(const LV2_Feature* const* features, const char* uri) {
  if (features == nullptr) return nullptr;
  for (const LV2_Feature* const* feature = features; *feature != nullptr; ++feature) {
    if ((*feature)->URI != nullptr && std::strcmp((*feature)->URI, uri) == 0) return *feature;
  }
  return nullptr;
}

void CloseUi(TOndrelUi* ui) {
  // The window and its thread stop before anything they reach goes.
  if (ui->editor != nullptr) ui->editor->pluginClosing();
  delete ui;
}

LV2UI_Handle Instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*, LV2UI_Write_Function write,
                         LV2UI_Controller controller, LV2UI_Widget* widget, const LV2_Feature* const* features) {
  FloatGuard::Apply();
  TOndrelUi* ui = nullptr;
  try {
    const LV2_Feature* parentFeature = FindFeature(features, LV2_UI__parent);
    if (pluginUri == nullptr || std::strcmp(pluginUri, ondrel_lv2::kPluginUri) != 0 || write == nullptr ||
        widget == nullptr || parentFeature == nullptr || parentFeature->data == nullptr ||
        FindFeature(features, LV2_UI__idleInterface) == nullptr) {
      return nullptr;
    }
    SetNativeWindowFactory(X11WindowFactory());
    ui = new TOndrelUi;
    ui->write = write;
    ui->controller = controller;
    auto link = std::make_unique<TPortLink>();
    ui->link = link.get();
    ui->editor = std::make_unique<TOndrelEditor>(nullptr, std::move(link));

    ERect* rect = nullptr;
    ui->editor->getRect(&rect);
    if (rect == nullptr || ui->editor->open(parentFeature->data) != 1) {
      CloseUi(ui);
      return nullptr;
    }
    *widget = ui->editor->Form()->WindowHandle();
    if (const LV2_Feature* resizeFeature = FindFeature(features, LV2_UI__resize)) {
      const auto* resize = static_cast<const LV2UI_Resize*>(resizeFeature->data);
      if (resize != nullptr && resize->ui_resize != nullptr) {
        resize->ui_resize(resize->handle, rect->right - rect->left, rect->bottom - rect->top);
      }
    }
    return ui;
  } catch (...) {
    if (ui != nullptr) {
      try {
        CloseUi(ui);
      } catch (...) {
      }
    }
    return nullptr;
  }
}

void Cleanup(LV2UI_Handle handle) {
  FloatGuard::Apply();
  try {
    if (handle != nullptr) CloseUi(static_cast<TOndrelUi*>(handle));
  } catch (...) {
  }
}

void PortEvent(LV2UI_Handle handle, uint32_t port, uint32_t bufferSize, uint32_t format, const void* buffer) {
  FloatGuard::Apply();
  try {
    // Only the float protocol, and only for the nine controls.
    if (handle == nullptr || format != 0 || bufferSize != sizeof(float) || buffer == nullptr) return;
    if (port < kFirstControlPort || port >= kFirstControlPort + ondrel_lv2::kControlPorts) return;
    const auto index = static_cast<int32_t>(port - kFirstControlPort);
    float value = 0.0f;
    std::memcpy(&value, buffer, sizeof value);
    auto* ui = static_cast<TOndrelUi*>(handle);
    // Recorded here, shown by the window thread, as for a VST 2 host.
    if (ui->link->HostValue(index, value)) ui->editor->parameterChanged(static_cast<uint32_t>(index));
  } catch (...) {
  }
}

int Idle(LV2UI_Handle handle) {
  FloatGuard::Apply();
  try {
    if (handle == nullptr) return 0;
    auto* ui = static_cast<TOndrelUi*>(handle);
    ui->editor->idle();
    ui->link->Flush([ui](uint32_t port, float value) { ui->write(ui->controller, port, sizeof value, 0, &value); });
  } catch (...) {
  }
  // The editor lives in the host's window and never closes itself.
  return 0;
}

int SetShown(LV2UI_Handle handle, bool shown) {
  FloatGuard::Apply();
  try {
    if (handle == nullptr) return 1;
    TOndrelEditForm* form = static_cast<TOndrelUi*>(handle)->editor->Form();
    if (form == nullptr) return 1;
    std::lock_guard<std::recursive_mutex> guard(form->EventMutex());
    if (shown) {
      form->Show();
      form->BringToFront();
    } else {
      form->Hide();
    }
    return 0;
  } catch (...) {
    return 1;
  }
}

int Show(LV2UI_Handle handle) { return SetShown(handle, true); }
int Hide(LV2UI_Handle handle) { return SetShown(handle, false); }

const LV2UI_Idle_Interface kIdleInterface = {Idle};
const LV2UI_Show_Interface kShowInterface = {Show, Hide};

const void* ExtensionData(const char* uri) {
  FloatGuard::Apply();
  if (uri == nullptr) return nullptr;
  if (std::strcmp(uri, LV2_UI__idleInterface) == 0) return &kIdleInterface;
  if (std::strcmp(uri, LV2_UI__showInterface) == 0) return &kShowInterface;
  return nullptr;
}

const LV2UI_Descriptor kDescriptor = {ondrel_lv2::kUiUri, Instantiate, Cleanup, PortEvent, ExtensionData};

}  // namespace

extern "C" __attribute__((visibility("default"))) const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
  FloatGuard::Apply();
  return index == 0 ? &kDescriptor : nullptr;
}
