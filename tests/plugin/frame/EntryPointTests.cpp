// The plug-in as a host sees it: the exported entry point and the record.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "tests/support/HostHarness.h"

using harness::Instance;

TEST(EntryPoint, HostAnsweringZeroToVersionGetsNoInstanceAndOneCall) {
  harness::hostCalls.clear();
  harness::versionAnswer = 0;
  AEffect* effect = harness::Plugin().entry()(harness::RecordingHost);
  harness::versionAnswer = 2400;
  EXPECT_EQ(effect, nullptr);
  ASSERT_EQ(harness::hostCalls.size(), 1u);
  EXPECT_EQ(harness::hostCalls[0].opcode, audioMasterVersion);
  EXPECT_EQ(harness::hostCalls[0].effect, nullptr);
}

TEST(EntryPoint, NullHostCallbackGetsNoInstance) { EXPECT_EQ(harness::Plugin().entry()(nullptr), nullptr); }

TEST(EntryPoint, AnyNonZeroVersionIsAccepted) {
  for (intptr_t version : {1, 2, 2400}) {
    harness::versionAnswer = version;
    AEffect* effect = harness::Plugin().entry()(harness::RecordingHost);
    ASSERT_NE(effect, nullptr) << "version " << version;
    EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
  }
  harness::versionAnswer = 2400;
}

TEST(EffectRecord, FieldsAfterConstruction) {
  Instance fx;
  const AEffect* e = fx.record();
  EXPECT_EQ(e->magic, FourCharCode("VstP"));
  EXPECT_EQ(e->magic, 0x56737450);
  EXPECT_NE(e->dispatcher, nullptr);
  EXPECT_NE(e->process, nullptr);
  EXPECT_NE(e->setParameter, nullptr);
  EXPECT_NE(e->getParameter, nullptr);
  EXPECT_NE(e->processReplacing, nullptr);
  EXPECT_EQ(e->numPrograms, 1);
  EXPECT_EQ(e->numParams, 9);
  EXPECT_EQ(e->numInputs, 1);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_EQ(e->flags, effFlagsHasEditor | effFlagsCanReplacing);
  EXPECT_EQ(e->resvd1, 0);
  EXPECT_EQ(e->resvd2, 0);
  EXPECT_EQ(e->initialDelay, 0);
  EXPECT_EQ(e->realQualities, 0);
  EXPECT_EQ(e->offQualities, 0);
  EXPECT_EQ(e->ioRatio, 1.0f);
  EXPECT_NE(e->object, nullptr);
  EXPECT_EQ(e->user, nullptr);
  EXPECT_EQ(e->uniqueID, FourCharCode("Odrl"));
  EXPECT_EQ(e->uniqueID, 0x4F64726C);
  EXPECT_EQ(e->version, 1);
#if INTPTR_MAX != INT32_MAX
  EXPECT_EQ(e->processDoubleReplacing, nullptr);
#endif
  for (char byte : e->future) EXPECT_EQ(byte, 0);
}

TEST(EffectRecord, LayoutSeenFromTheHost) {
  // The host-side view of the record, byte by byte.
  Instance fx;
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(fx.record());
  auto int32At = [&](size_t offset) {
    int32_t v;
    std::memcpy(&v, bytes + offset, 4);
    return v;
  };
  const size_t ptr = sizeof(void*);
  EXPECT_EQ(int32At(0), 0x56737450);
  EXPECT_EQ(int32At(ptr == 8 ? 40 : 20), 1);  // numPrograms
  EXPECT_EQ(int32At(ptr == 8 ? 44 : 24), 9);  // numParams
  EXPECT_EQ(int32At(ptr == 8 ? 56 : 36), effFlagsHasEditor | effFlagsCanReplacing);
  EXPECT_EQ(int32At(ptr == 8 ? 112 : 72), 0x4F64726C);  // uniqueID
  EXPECT_EQ(int32At(ptr == 8 ? 116 : 76), 1);           // version
  float ioRatio;
  std::memcpy(&ioRatio, bytes + (ptr == 8 ? 92 : 60), 4);
  EXPECT_EQ(ioRatio, 1.0f);
  void* object;
  std::memcpy(&object, bytes + (ptr == 8 ? 96 : 64), ptr);
  EXPECT_EQ(object, fx.record()->object);
  EXPECT_EQ(sizeof(AEffect), ptr == 8 ? 192u : 144u);
}

TEST(EntryPoint, TwoInstancesAreIndependent) {
  Instance a;
  auto b = std::make_unique<Instance>();
  EXPECT_NE(a.record(), b->record());
  EXPECT_NE(a.record()->object, b->record()->object);
  a.setParameter(3, 0.125f);
  b->setParameter(3, 0.75f);
  EXPECT_EQ(a.getParameter(3), 0.125f);
  EXPECT_EQ(b->getParameter(3), 0.75f);
  EXPECT_EQ(b->close(), 1);
  b.reset();
  // The survivor still works after the other was closed.
  EXPECT_EQ(a.getParameter(3), 0.125f);
  EXPECT_EQ(a.text(effGetParamName, 3), "Width      ");
}
