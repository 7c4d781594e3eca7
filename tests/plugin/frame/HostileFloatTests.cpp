// A host that unmasks every floating-point exception on its own thread and
// then feeds the plug-in NaN, infinities, huge values, denormals and -0.0
// through every entry. No trap may leave the plug-in. And a host that runs
// in another rounding mode: the plug-in must sound the same.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "tests/support/HostHarness.h"
#include "tests/support/HostileFloat.h"

namespace {

const float kHostile[] = {
    std::numeric_limits<float>::quiet_NaN(),
    -std::numeric_limits<float>::quiet_NaN(),
    std::numeric_limits<float>::infinity(),
    -std::numeric_limits<float>::infinity(),
    1e30f,
    -1e30f,
    std::numeric_limits<float>::max(),
    std::numeric_limits<float>::denorm_min(),
    -1e-40f,
    -0.0f,
    0.0f,
    0.5f,
    1.0f,
    2.0f,
};

#if defined(__i386__) || defined(__x86_64__)
// The x87 control word without its reserved bit 6, which reads back as 1.
uint16_t ControlWord() {
  uint16_t cw;
  __asm__ __volatile__("fnstcw %0" : "=m"(cw));
  return static_cast<uint16_t>(cw & ~0x40);
}
#endif

// The host's rounding mode (0 nearest, 1 down, 2 up, 3 toward zero), set in
// the x87 word and in MXCSR alike.
void SetRounding(uint32_t mode) {
  uint16_t cw;
  __asm__ __volatile__("fnstcw %0" : "=m"(cw));
  cw = static_cast<uint16_t>((cw & ~0x0C00u) | (mode << 10));
  __asm__ __volatile__("fldcw %0" : : "m"(cw));
  uint32_t mxcsr;
  __asm__ __volatile__("stmxcsr %0" : "=m"(mxcsr));
  mxcsr = (mxcsr & ~0x6000u) | (mode << 13);
  __asm__ __volatile__("ldmxcsr %0" : : "m"(mxcsr));
}

// The default setting over a bass-like signal, with every call made in the
// given rounding mode, from construction on.
std::vector<float> RenderRounding(uint32_t mode) {
  SetRounding(mode);
  std::vector<float> out;
  {
    harness::Instance fx;
    AEffect* e = fx.record();
    std::vector<float> in(512), left(512), right(512);
    float* inputs[1] = {in.data()};
    float* outputs[2] = {left.data(), right.data()};
    for (int block = 0; block < 40; ++block) {
      for (size_t n = 0; n < in.size(); ++n) {
        const double t = static_cast<double>(block * 512 + static_cast<int>(n));
        in[n] = static_cast<float>(0.6 * std::sin(0.0071 * t) + 0.15 * std::sin(0.173 * t));
      }
      SetRounding(mode);
      if (block == 20) e->setParameter(e, 1, 0.6f);  // a redesign in this mode too
      SetRounding(mode);
      e->processReplacing(e, inputs, outputs, 512);
      out.insert(out.end(), left.begin(), left.end());
      out.insert(out.end(), right.begin(), right.end());
    }
    SetRounding(mode);
  }
  SetRounding(0);
  return out;
}

bool RunningUnderEmulator() {
  // qemu-user does not raise unmasked floating-point exceptions as traps, so
  // this test proves nothing there; the native builds run it.
#if defined(ONDREL_UNDER_EMULATOR)
  return true;
#else
  return false;
#endif
}

}  // namespace

#if defined(__i386__) || defined(__x86_64__)

TEST(HostileFloatingPoint, NoEntryTrapsWithEveryExceptionUnmasked) {
  if (RunningUnderEmulator()) GTEST_SKIP() << "the emulator does not trap on floating-point exceptions";
  harness::Instance fx;
  AEffect* e = fx.record();
  std::vector<float> left(64, 0.25f), right(64, -0.25f), input(64);
  float* inputs[1] = {input.data()};
  float* outputs[2] = {left.data(), right.data()};
  char text[64];

  for (float hostile : kHostile) {
    for (float& s : input) s = hostile;
    for (int32_t index = -1; index <= 9; ++index) {
      UnmaskEverything();
      e->setParameter(e, index, hostile);
      EXPECT_EQ(ControlWord(), 0x133F);
      UnmaskEverything();
      (void)e->getParameter(e, index);
      for (int32_t opcode : {effGetParamDisplay, effGetParamName, effGetParamLabel}) {
        UnmaskEverything();
        e->dispatcher(e, opcode, index, 0, text, hostile);
      }
    }
    UnmaskEverything();
    e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, hostile);
    EXPECT_EQ(ControlWord(), 0x133F);
    for (int32_t index = 0; index < 9; ++index) {
      UnmaskEverything();
      e->setParameter(e, index, 0.5f);  // recomputes at the hostile rate
      UnmaskEverything();
      e->dispatcher(e, effGetParamDisplay, index, 0, text, 0.0f);
    }
    for (int32_t opcode = 0; opcode <= 22; ++opcode) {
      if (opcode == effClose || opcode == effEditOpen || opcode == effEditGetRect) continue;
      UnmaskEverything();
      e->dispatcher(e, opcode, 0, 0, opcode == effSetProgramName || opcode == effGetProgramName ? text : nullptr,
                    hostile);
    }
    std::snprintf(text, sizeof text, "Default");
    UnmaskEverything();
    e->processReplacing(e, inputs, outputs, 64);
    UnmaskEverything();
    e->process(e, inputs, outputs, 64);
    EXPECT_EQ(ControlWord(), 0x133F);
  }
  UnmaskEverything();
  e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  EXPECT_EQ(ControlWord(), 0x133F);
}

TEST(HostileFloatingPoint, EveryRoundingModeOfTheHostSoundsTheSame) {
  const std::vector<float> nearest = RenderRounding(0);
  for (uint32_t mode = 1; mode <= 3; ++mode) {
    const std::vector<float> other = RenderRounding(mode);
    ASSERT_EQ(other.size(), nearest.size());
    size_t differ = 0;
    for (size_t n = 0; n < other.size(); ++n) differ += other[n] != nearest[n];
    EXPECT_EQ(differ, 0u) << "of " << other.size() << " samples in rounding mode " << mode;
  }
}

TEST(HostileFloatingPoint, EntryPointAndCloseWithEveryExceptionUnmasked) {
  if (RunningUnderEmulator()) GTEST_SKIP() << "the emulator does not trap on floating-point exceptions";
  UnmaskEverything();
  AEffect* e = harness::Plugin().entry()(harness::RecordingHost);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(ControlWord(), 0x133F);
  UnmaskEverything();
  EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, std::numeric_limits<float>::quiet_NaN()), 1);
  EXPECT_EQ(ControlWord(), 0x133F);
}

#endif
