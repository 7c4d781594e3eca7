// The effect and editor base classes, driven through a small subclass that
// records what reaches its overrides.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/AudioEffect.h"
#include "host/EffEditor.h"

namespace {

std::vector<std::string> events;
std::vector<int32_t> hostOpcodes;

intptr_t VSTCALLBACK Host(AEffect*, int32_t opcode, int32_t index, intptr_t value, void*, float opt) {
  hostOpcodes.push_back(opcode);
  if (opcode == audioMasterPinConnected) return value == 0 ? 0 : index + 10;
  if (opcode == audioMasterAutomate) events.push_back("automate " + std::to_string(index) + " " + std::to_string(opt));
  return opcode == audioMasterVersion ? 2400 : 7;
}

class ProbeEffect : public TAudioEffect {
 public:
  explicit ProbeEffect(audioMasterCallback host) : TAudioEffect(host, 1, 2) {}
  ~ProbeEffect() override { events.push_back("effect destroyed"); }
  void suspend() override { events.push_back("suspend"); }
  void resume() override { events.push_back("resume"); }
  void close() override { events.push_back("close"); }
  void process(float**, float**, int32_t) override {}
  void setParameter(int32_t index, float value) override {
    events.push_back("set " + std::to_string(index) + " " + std::to_string(value));
  }
  float vu = 0.0f;
  float getVu() override { return vu; }
};

class ProbeEditor : public TEffEditor {
 public:
  using TEffEditor::TEffEditor;
  ~ProbeEditor() override { events.push_back("editor destroyed"); }
  void update() override { events.push_back("update"); }
};

}  // namespace

TEST(EffectBase, MainsChangedSuspendsOnZeroAndResumesOtherwise) {
  events.clear();
  ProbeEffect fx(Host);
  AEffect* e = fx.getAeffect();
  e->dispatcher(e, effMainsChanged, 0, 0, nullptr, 0.0f);
  e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0.0f);
  e->dispatcher(e, effMainsChanged, 0, 5, nullptr, 0.0f);
  EXPECT_EQ(events, (std::vector<std::string>{"suspend", "resume", "resume"}));
}

// The rate travels in the float argument, the block size in the integer one.
TEST(EffectBase, SampleRateAndBlockSizeArriveInTheirOwnArguments) {
  ProbeEffect fx(Host);
  AEffect* e = fx.getAeffect();
  EXPECT_EQ(fx.getSampleRate(), 44100.0f);
  EXPECT_EQ(fx.getBlockSize(), 1024);
  e->dispatcher(e, effSetSampleRate, 0, 96000, nullptr, 48000.0f);
  e->dispatcher(e, effSetBlockSize, 0, 333, nullptr, 77.0f);
  EXPECT_EQ(fx.getSampleRate(), 48000.0f);
  EXPECT_EQ(fx.getBlockSize(), 333);
}

TEST(EffectBase, VuIsScaledAndRoundedTiesToEven) {
  ProbeEffect fx(Host);
  AEffect* e = fx.getAeffect();
  fx.vu = 1.0f;
  EXPECT_EQ(e->dispatcher(e, effGetVu, 0, 0, nullptr, 0.0f), 32767);
  fx.vu = 0.5f;  // 16383.5
  EXPECT_EQ(e->dispatcher(e, effGetVu, 0, 0, nullptr, 0.0f), 16384);
  fx.vu = std::nanf("");
  EXPECT_EQ(e->dispatcher(e, effGetVu, 0, 0, nullptr, 0.0f), INT32_MIN);
}

TEST(EffectBase, ReplacingFlagFollowsItsSwitch) {
  ProbeEffect fx(Host);
  AEffect* e = fx.getAeffect();
  EXPECT_EQ(e->flags, 0);
  fx.canProcessReplacing(true);
  EXPECT_EQ(e->flags, effFlagsCanReplacing);
  fx.canProcessReplacing(false);
  EXPECT_EQ(e->flags, 0);
}

TEST(EffectBase, UniqueIdPacksBigEndian) {
  ProbeEffect fx(Host);
  fx.setUniqueID("Odrl");
  EXPECT_EQ(fx.getAeffect()->uniqueID, 0x4F64726C);
  // Bytes above 0x7F are not sign-extended into their neighbours.
  fx.setUniqueID("\xFF\x80zA");
  EXPECT_EQ(static_cast<uint32_t>(fx.getAeffect()->uniqueID), 0xFF807A41u);
}

TEST(EffectBase, HostCalls) {
  hostOpcodes.clear();
  ProbeEffect fx(Host);
  EXPECT_EQ(fx.getMasterVersion(), 2400);
  EXPECT_EQ(fx.getCurrentUniqueId(), 7);
  fx.masterIdle();
  EXPECT_EQ(fx.isInputConnected(0), 0);
  EXPECT_EQ(fx.isOutputConnected(1), 11);
  char vendor[64] = {};
  EXPECT_EQ(fx.getHostVendorString(vendor), 7);
  EXPECT_EQ(fx.getHostProductString(vendor), 7);
  EXPECT_EQ(hostOpcodes,
            (std::vector<int32_t>{audioMasterVersion, audioMasterCurrentId, audioMasterIdle, audioMasterPinConnected,
                                  audioMasterPinConnected, audioMasterGetVendorString, audioMasterGetProductString}));
}

TEST(EffectBase, HostCallsWithoutACallbackAnswerZero) {
  ProbeEffect fx(nullptr);
  EXPECT_EQ(fx.getMasterVersion(), 0);
  EXPECT_EQ(fx.isOutputConnected(1), 0);
  char vendor[8] = {};
  EXPECT_EQ(fx.getHostVendorString(vendor), 0);
}

TEST(EffectBase, AutomatedParameterIsSetThenReported) {
  events.clear();
  ProbeEffect fx(Host);
  fx.setParameterAutomated(1, 0.5f);
  EXPECT_EQ(events, (std::vector<std::string>{"set 1 0.500000", "automate 1 0.500000"}));
}

TEST(EffectBase, BaseProgramNameKeeps31Characters) {
  ProbeEffect fx(Host);
  char name[64] = {};
  fx.getProgramName(name);
  EXPECT_STREQ(name, "Default");
  fx.setProgramName("0123456789012345678901234567890123456789");
  fx.getProgramName(name);
  EXPECT_STREQ(name, "0123456789012345678901234567890");
}

TEST(EditorBase, RegistrationSetsAndClearsTheEditorFlag) {
  events.clear();
  {
    ProbeEffect fx(Host);
    auto* editor = new ProbeEditor(&fx);
    fx.setEditor(editor);
    EXPECT_EQ(fx.getAeffect()->flags & effFlagsHasEditor, effFlagsHasEditor);
    fx.setEditor(nullptr);
    EXPECT_EQ(fx.getAeffect()->flags & effFlagsHasEditor, 0);
    fx.setEditor(editor);  // registered again: the effect frees it
  }
  // The subclass goes first, then the base frees the editor.
  EXPECT_EQ(events, (std::vector<std::string>{"effect destroyed", "editor destroyed"}));
}

TEST(EditorBase, EditorOpcodesReachTheEditor) {
  ProbeEffect fx(Host);
  auto* editor = new ProbeEditor(&fx);
  fx.setEditor(editor);
  AEffect* e = fx.getAeffect();
  ERect* rect = reinterpret_cast<ERect*>(0x10);
  EXPECT_EQ(e->dispatcher(e, effEditGetRect, 0, 0, &rect, 0.0f), 0);
  EXPECT_EQ(rect, reinterpret_cast<ERect*>(0x10));
  int window = 0;
  EXPECT_EQ(e->dispatcher(e, effEditOpen, 0, 0, &window, 0.0f), 0);
  EXPECT_EQ(editor->getSystemWindow(), &window);
  // A null parent window is ignored: the editor keeps the one it has.
  EXPECT_EQ(e->dispatcher(e, effEditOpen, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(editor->getSystemWindow(), &window);
  EXPECT_EQ(editor->getEffect(), &fx);
}

TEST(EditorBase, PostedUpdatesRunOnceAtIdle) {
  events.clear();
  ProbeEffect fx(Host);
  ProbeEditor editor(&fx);
  editor.idle();
  EXPECT_TRUE(events.empty());
  editor.postUpdate();
  editor.postUpdate();
  EXPECT_TRUE(editor.isUpdatePending());
  editor.idle();
  editor.idle();
  EXPECT_EQ(events, (std::vector<std::string>{"update"}));
  EXPECT_FALSE(editor.isUpdatePending());
}

TEST(EffectBase, CloseThroughTheDispatcherEntryDestroysTheObject) {
  events.clear();
  auto* fx = new ProbeEffect(Host);
  auto* editor = new ProbeEditor(fx);
  fx->setEditor(editor);
  AEffect* e = fx->getAeffect();
  EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
  EXPECT_EQ(events, (std::vector<std::string>{"close", "effect destroyed", "editor destroyed"}));
}
