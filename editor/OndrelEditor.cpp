#include "OndrelEditor.h"

#include "core/FloatGuard.h"
#include "core/ParameterRules.h"
#include "host/AudioEffect.h"

namespace {

// Sets a flag for a scope and clears it on every way out.
class TUpdatingScope {
 public:
  explicit TUpdatingScope(std::atomic<bool>& flag) : flag_(flag) { flag_.store(true, std::memory_order_relaxed); }
  ~TUpdatingScope() { flag_.store(false, std::memory_order_relaxed); }
  TUpdatingScope(const TUpdatingScope&) = delete;
  TUpdatingScope& operator=(const TUpdatingScope&) = delete;

 private:
  std::atomic<bool>& flag_;
};

// The seam names each switch the sound reads.
bool SwitchOn(const TParameterAccess& parameters, int32_t index) {
  return index == kAntiAlias ? parameters.AntiAlias() : parameters.BassMode();
}

}  // namespace

TOndrelEditor::TOndrelEditor(TAudioEffect* owner, std::unique_ptr<TParameterAccess> access)
    : TOndrelEditorLink(owner), parameters(std::move(access)) {
  if (owner != nullptr) owner->setEditor(this);
}

TOndrelEditor::~TOndrelEditor() {
  // The form's window goes with the form.
  form.reset();
}

void TOndrelEditor::EnsureForm() {
  if (form != nullptr) return;
  // Until it has a window, the form lives on the host's editor thread.
  windowThread.store(std::this_thread::get_id(), std::memory_order_relaxed);
  form = std::make_unique<TOndrelEditForm>();
  form->FEditor = this;
  form->SetTimer(kHostChangeIntervalMs, [this] { ApplyHostChanges(); });
}

int32_t TOndrelEditor::getRect(ERect** out) {
  FloatGuard::Apply();
  if (out == nullptr) return 0;
  std::lock_guard<std::recursive_mutex> guard(lock);
  EnsureForm();
  // Hosts size the editor before they open it. Host changes recorded while
  // the form had no window (before it existed, or while closed: no window,
  // no timer) are shown here, where the switches enable and disable their
  // knobs without painting. Done at open, with a window, an enabled change
  // would compose that knob at once, ahead of the others, and change which
  // reflection each knob draws from the form's generator.
  if (!form->Showing()) ApplyHostChanges();
  rect.top = 0;
  rect.left = 0;
  rect.right = static_cast<int16_t>(form->ClientWidth());
  rect.bottom = static_cast<int16_t>(form->ClientHeight());
  *out = &rect;
  return 1;
}

int32_t TOndrelEditor::open(void* parent) {
  FloatGuard::Apply();
  if (parent == nullptr) return 0;
  std::lock_guard<std::recursive_mutex> guard(lock);
  EnsureForm();
  // Makes the form's window in this parent, or moves it there from another.
  // The form's lock: the old window's event thread may still be feeding it.
  {
    std::lock_guard<std::recursive_mutex> formGuard(form->EventMutex());
    if (!form->AttachTo(parent)) return 0;
  }
  windowThread.store(form->NativeWindow()->WindowThread(), std::memory_order_relaxed);
  LoadAllValues();
  form->Show();
  form->BringToFront();
  return 1;
}

void TOndrelEditor::close() {
  FloatGuard::Apply();
  std::lock_guard<std::recursive_mutex> guard(lock);
  if (form == nullptr) return;
  // Releasing the window stops its thread, if it has one; from then on the
  // host's editor thread is the form's thread again.
  {
    std::lock_guard<std::recursive_mutex> formGuard(form->EventMutex());
    form->Detach();
  }
  windowThread.store(std::this_thread::get_id(), std::memory_order_relaxed);
}

void TOndrelEditor::pluginClosing() {
  std::lock_guard<std::recursive_mutex> guard(lock);
  if (form == nullptr) return;
  std::lock_guard<std::recursive_mutex> formGuard(form->EventMutex());
  form->KillTimer();
  form->Detach();
  form->FEditor = nullptr;
}

void TOndrelEditor::LoadAllValues() {
  // Everything recorded so far is loaded now.
  pending.store(0, std::memory_order_relaxed);
  std::lock_guard<std::recursive_mutex> formGuard(form->EventMutex());
  TUpdatingScope scope(updating);
  // Knob values first, then the switches that enable or disable knobs, the
  // mix last. The order decides which reflection frame a knob shows after
  // open (a knob moved while disabled does not step its reflection).
  static constexpr int32_t kOpenOrder[] = {kCutoff,   kDelay,     kWidth,      kRate, kFeedback,
                                           kBassMode, kAntiAlias, kStereoMode, kMix};
  for (const int32_t index : kOpenOrder) ApplyParameter(static_cast<uint32_t>(index));
}

void TOndrelEditor::update() {
  FloatGuard::Apply();
  if (updating.load(std::memory_order_relaxed) || form == nullptr) return;
  // A value the host changed since the form last heard of it is newer than
  // the form's copy: it stands, and the next tick shows it.
  const uint32_t hostNewer = pending.load(std::memory_order_acquire);
  for (const TParameterBinding& binding : kParameterBindings) {
    if ((hostNewer & (1u << binding.Index)) == 0) parameters->Store(binding.Index, StoredValue(binding, *form));
  }
  parameters->Recompute();
}

void TOndrelEditor::parameterChanged(uint32_t index) {
  // Any thread, the audio thread included: one atomic OR and a compare, no
  // lock, no allocation, no call into the system.
  FloatGuard::Apply();
  if (index >= static_cast<uint32_t>(kNumParameters)) return;
  pending.fetch_or(1u << index, std::memory_order_release);
  if (std::this_thread::get_id() == windowThread.load(std::memory_order_relaxed) &&
      !updating.load(std::memory_order_relaxed)) {
    ApplyHostChanges();
  }
}

void TOndrelEditor::ApplyHostChanges() {
  FloatGuard::Apply();
  // Never waits: a close in progress on another thread may be waiting for
  // this thread to finish; the record stays for the next tick.
  std::unique_lock<std::recursive_mutex> guard(lock, std::try_to_lock);
  if (!guard.owns_lock() || form == nullptr) return;
  uint32_t changed = pending.exchange(0, std::memory_order_acquire);
  if (changed == 0) return;
  std::lock_guard<std::recursive_mutex> formGuard(form->EventMutex());
  TUpdatingScope scope(updating);
  for (uint32_t index = 0; changed != 0; ++index, changed >>= 1) {
    if ((changed & 1u) != 0) ApplyParameter(index);
  }
}

void TOndrelEditor::ApplyParameter(uint32_t index) {
  if (index >= static_cast<uint32_t>(kNumParameters)) return;
  const TParameterBinding& binding = kParameterBindings[index];
  // The switches and the channel mode as the sound reads them, not as stored.
  float state = 0.0f;
  switch (binding.Kind) {
    case TBindingKind::Knob: state = parameters->Value(binding.Index); break;
    case TBindingKind::Switch: state = SwitchOn(*parameters, binding.Index) ? 1.0f : 0.0f; break;
    case TBindingKind::NegatedSwitch: state = SwitchOn(*parameters, binding.Index) ? 0.0f : 1.0f; break;
    case TBindingKind::ChannelMode: state = static_cast<float>(parameters->ChannelMode()); break;
  }
  form->SetState(binding, state);
}
