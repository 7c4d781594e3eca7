// The dispatcher's editor opcodes as a host sends them through the record:
// each reaches the registered editor with the host's pointer, and the
// editor's answer is what the host gets back.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "host/AudioEffect.h"
#include "host/EffEditor.h"

namespace {

struct Call {
  std::string operation;
  void* argument;
  bool operator==(const Call& other) const { return operation == other.operation && argument == other.argument; }
};

void PrintTo(const Call& call, std::ostream* out) { *out << call.operation << "(" << call.argument << ")"; }

// Records every call and answers what the test chose.
class RecordingEditor : public TEffEditor {
 public:
  using TEffEditor::TEffEditor;

  int32_t getRect(ERect** rect) override {
    calls.push_back({"getRect", rect});
    *rect = &area;
    return rectAnswer;
  }
  int32_t open(void* window) override {
    calls.push_back({"open", window});
    return openAnswer;
  }
  void close() override { calls.push_back({"close", nullptr}); }
  void idle() override { calls.push_back({"idle", nullptr}); }

  std::vector<Call> calls;
  ERect area{0, 0, 291, 560};
  int32_t rectAnswer = 1;
  int32_t openAnswer = 1;
};

class SmallEffect : public TAudioEffect {
 public:
  SmallEffect() : TAudioEffect(nullptr, 1, 1) {}
  void process(float**, float**, int32_t) override {}
};

intptr_t Dispatch(TAudioEffect& fx, int32_t opcode, void* ptr = nullptr) {
  AEffect* e = fx.getAeffect();
  return e->dispatcher(e, opcode, 3, 5, ptr, 0.25f);
}

}  // namespace

TEST(EditorOpcodes, EachReachesTheEditorWithItsArgumentAndAnswer) {
  SmallEffect fx;
  auto* editor = new RecordingEditor(&fx);
  fx.setEditor(editor);

  ERect* rect = nullptr;
  EXPECT_EQ(Dispatch(fx, effEditGetRect, &rect), 1);
  EXPECT_EQ(rect, &editor->area);
  int window = 0;
  EXPECT_EQ(Dispatch(fx, effEditOpen, &window), 1);
  EXPECT_EQ(Dispatch(fx, effEditIdle), 0);
  EXPECT_EQ(Dispatch(fx, effEditIdle), 0);
  EXPECT_EQ(Dispatch(fx, effEditClose), 0);
  EXPECT_EQ(editor->calls,
            (std::vector<Call>{
                {"getRect", &rect}, {"open", &window}, {"idle", nullptr}, {"idle", nullptr}, {"close", nullptr}}));

  // The host hears the editor's own answers, whatever they are.
  editor->rectAnswer = 0;
  editor->openAnswer = 7;
  EXPECT_EQ(Dispatch(fx, effEditGetRect, &rect), 0);
  EXPECT_EQ(Dispatch(fx, effEditOpen, &window), 7);
}

TEST(EditorOpcodes, OpcodesWithoutAnOperationAndNullPointersReachNothing) {
  SmallEffect fx;
  auto* editor = new RecordingEditor(&fx);
  fx.setEditor(editor);
  int buffer = 0;
  for (int32_t opcode : {effEditDraw, effEditMouse, effEditKey, effEditTop, effEditSleep})
    EXPECT_EQ(Dispatch(fx, opcode, &buffer), 0) << opcode;
  // Rectangle and window go through the host's pointer: without one, nothing.
  EXPECT_EQ(Dispatch(fx, effEditGetRect), 0);
  EXPECT_EQ(Dispatch(fx, effEditOpen), 0);
  EXPECT_TRUE(editor->calls.empty());
}

TEST(EditorOpcodes, WithoutAnEditorEachAnswersZero) {
  SmallEffect fx;
  ERect* rect = reinterpret_cast<ERect*>(0x10);
  EXPECT_EQ(Dispatch(fx, effEditGetRect, &rect), 0);
  EXPECT_EQ(rect, reinterpret_cast<ERect*>(0x10));
  int window = 0;
  EXPECT_EQ(Dispatch(fx, effEditOpen, &window), 0);
  EXPECT_EQ(Dispatch(fx, effEditIdle), 0);
  EXPECT_EQ(Dispatch(fx, effEditClose), 0);

  // Registered and taken back again: the same.
  auto* editor = new RecordingEditor(&fx);
  fx.setEditor(editor);
  fx.setEditor(nullptr);
  EXPECT_EQ(Dispatch(fx, effEditGetRect, &rect), 0);
  EXPECT_EQ(Dispatch(fx, effEditOpen, &window), 0);
  EXPECT_EQ(Dispatch(fx, effEditIdle), 0);
  EXPECT_EQ(Dispatch(fx, effEditClose), 0);
  EXPECT_TRUE(editor->calls.empty());
  delete editor;
}
