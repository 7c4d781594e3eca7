#include "Filter.h"

#include <cmath>
#include <thread>

#include "FloatGuard.h"

void tFilterSV::Design(int32_t sampleRate, uint8_t filterType, float frequency, float q,
                       float gainDB) {
  // Callers come from the host or the window system with any control word;
  // a Q of 0 or a rate of 0 must give non-finite coefficients, not a trap.
  FloatGuard::Apply();

  // Take the design for this thread: make Version odd, waiting while another
  // designer holds it odd. Designs take well under a microsecond.
  constexpr auto relaxed = std::memory_order_relaxed;
  uint32_t version = Version.load(relaxed);
  while ((version & 1) != 0 ||
         !Version.compare_exchange_weak(version, version + 1, std::memory_order_acquire, relaxed)) {
    if ((version & 1) != 0) {
      std::this_thread::yield();
      version = Version.load(relaxed);
    }
  }

  // The owner redesigns on every parameter change; most calls change nothing.
  // Version 0 means no design yet: the construction state equals a 0 dB
  // ftGain at 44100 Hz, and asking for exactly that must not leave B0 at 0.
  if (version != 0 && Frequency.load(relaxed) == frequency && Q.load(relaxed) == q &&
      GainDB.load(relaxed) == gainDB && FilterType.load(relaxed) == filterType &&
      SampleRate.load(relaxed) == sampleRate) {
    Version.store(version, std::memory_order_release);
    return;
  }

  // Release stores: a Process that sees any of them also sees the odd
  // Version stored before it, and so drops what it read.
  constexpr auto publish = std::memory_order_release;
  Frequency.store(frequency, publish);
  Q.store(q, publish);
  GainDB.store(gainDB, publish);
  FilterType.store(filterType, publish);
  SampleRate.store(sampleRate, publish);
  ComputeCoefficients(filterType, sampleRate, frequency, q, gainDB);
  Version.store(version + 2, publish);
}

// The designs follow the Audio EQ Cookbook. Every named intermediate is a
// float (on the x87 builds -ffloat-store makes each of these variables a real
// rounding to float), the arithmetic between them is done in double, and each
// coefficient is rounded to float before a later formula reads it. The
// results therefore come out the same on every build, bit for bit.
void tFilterSV::ComputeCoefficients(uint8_t filterType, int32_t sampleRate, float frequency,
                                    float q, float gainDB) {
  constexpr auto publish = std::memory_order_release;
  if (filterType == ftGain) {
    const float b0 = static_cast<float>(std::pow(10.0, gainDB / 20.0));
    B0.store(b0, publish);
    return;
  }
  // Unknown types keep the old coefficients.
  if (filterType > ftPeaking) return;

  const float w0 = static_cast<float>(6.283185307179586477 * frequency / sampleRate);
  const float s = static_cast<float>(std::sin(double(w0)));
  const float c = static_cast<float>(std::cos(double(w0)));

  switch (filterType) {
    case ftLowPass:
    case ftHighPass:
    case ftBandPass:
    case ftNotch: {
      // The linear gain scales the whole numerator, so the pass band sits at
      // g rather than 1: the two halves of the band split both carry it.
      const float g = static_cast<float>(std::pow(10.0, gainDB / 20.0));
      const float alpha = static_cast<float>(s / (2.0 * q));
      const float invA0 = static_cast<float>(1.0 / (1.0 + alpha));
      const float a1 = static_cast<float>(-2.0 * c * invA0);
      const float a2 = static_cast<float>((1.0 - alpha) * invA0);
      InvA0.store(invA0, publish);
      A1.store(a1, publish);
      A2.store(a2, publish);
      if (filterType == ftLowPass) {
        const float b1 = static_cast<float>((1.0 - c) * invA0 * g);
        const float b0 = static_cast<float>(b1 * 0.5);
        B0.store(b0, publish);
        B1.store(b1, publish);
      } else if (filterType == ftHighPass) {
        const float b1 = static_cast<float>(-(1.0 + c) * invA0 * g);
        const float b0 = static_cast<float>(-b1 * 0.5);
        B0.store(b0, publish);
        B1.store(b1, publish);
      } else if (filterType == ftBandPass) {
        const float b0 = static_cast<float>(double(alpha) * invA0 * g);
        B0.store(b0, publish);
      } else {
        const float b0 = static_cast<float>(double(invA0) * g);
        const float b1 = static_cast<float>(double(a1) * g);
        B0.store(b0, publish);
        B1.store(b1, publish);
      }
      break;
    }
    case ftLowShelf:
    case ftHighShelf: {
      // Shelf slope 1, the steepest without overshoot; Q plays no part.
      constexpr double S = 1.0;
      const float A = static_cast<float>(std::pow(10.0, gainDB / 40.0));
      const float P = static_cast<float>(A + 1.0);
      const float M = static_cast<float>(A - 1.0);
      const float Pc = static_cast<float>(double(P) * c);
      const float Mc = static_cast<float>(double(M) * c);
      const float beta =
          static_cast<float>(s * std::sqrt((double(A) * A + 1.0) / S - double(M) * M));
      // The high shelf mirrors the low one about a quarter of the sample
      // rate: c and the odd-power coefficients change sign.
      const bool low = filterType == ftLowShelf;
      const float invA0 =
          static_cast<float>(1.0 / (low ? double(P) + Mc + beta : double(P) - Mc + beta));
      const float a1 = static_cast<float>(low ? -2.0 * (double(M) + Pc) * invA0
                                              : 2.0 * (double(M) - Pc) * invA0);
      const float a2 = static_cast<float>(low ? (double(P) + Mc - beta) * invA0
                                              : (double(P) - Mc - beta) * invA0);
      const float b0 = static_cast<float>(low ? double(A) * (double(P) - Mc + beta) * invA0
                                              : double(A) * (double(P) + Mc + beta) * invA0);
      const float b1 = static_cast<float>(low ? 2.0 * A * (double(M) - Pc) * invA0
                                              : -2.0 * A * (double(M) + Pc) * invA0);
      const float b2 = static_cast<float>(low ? double(A) * (double(P) - Mc - beta) * invA0
                                              : double(A) * (double(P) + Mc - beta) * invA0);
      InvA0.store(invA0, publish);
      A1.store(a1, publish);
      A2.store(a2, publish);
      B0.store(b0, publish);
      B1.store(b1, publish);
      B2.store(b2, publish);
      break;
    }
    case ftPeaking: {
      const float A = static_cast<float>(std::pow(10.0, gainDB / 40.0));
      const float alpha = static_cast<float>(s / (2.0 * q));
      const float alphaA = static_cast<float>(double(alpha) * A);
      const float alphaD = static_cast<float>(double(alpha) / A);
      const float invA0 = static_cast<float>(1.0 / (1.0 + alphaD));
      const float a1 = static_cast<float>(-2.0 * c * invA0);
      const float a2 = static_cast<float>((1.0 - alphaD) * invA0);
      const float b0 = static_cast<float>((1.0 + alphaA) * invA0);
      const float b2 = static_cast<float>((1.0 - alphaA) * invA0);
      // b1 equals a1 here; Process reads A1 in its place.
      InvA0.store(invA0, publish);
      A1.store(a1, publish);
      A2.store(a2, publish);
      B0.store(b0, publish);
      B2.store(b2, publish);
      break;
    }
    default:
      break;
  }
}

void tFilterSV::Reset() {
  X1 = 0.0f;
  X2 = 0.0f;
  Y1 = 0.0f;
  Y2 = 0.0f;
}
