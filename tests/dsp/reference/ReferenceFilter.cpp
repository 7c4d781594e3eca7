#include "ReferenceFilter.h"

#include <cmath>

namespace reference {

// Every named value below is a float, so each one is rounded where it is
// named (on x87 the build's -ffloat-store makes that so); the arithmetic
// between named values is done in double or wider.
void tReferenceFilter::Design(int32_t sampleRate, uint8_t filterType, float frequency, float q, float gainDB) {
  if (Frequency == frequency && Q == q && GainDB == gainDB && FilterType == filterType && SampleRate == sampleRate)
    return;
  Frequency = frequency;
  Q = q;
  GainDB = gainDB;
  FilterType = filterType;
  SampleRate = sampleRate;
  if (filterType > rtPeaking) return;

  if (filterType == rtGain) {
    B0 = static_cast<float>(std::pow(10.0, GainDB / 20.0));
    return;
  }

  const float w0 = static_cast<float>(6.283185307179586477 * Frequency / SampleRate);
  const float s = static_cast<float>(std::sin(static_cast<double>(w0)));
  const float c = static_cast<float>(std::cos(static_cast<double>(w0)));
  const float g = static_cast<float>(std::pow(10.0, GainDB / 20.0));
  const float A = static_cast<float>(std::pow(10.0, GainDB / 40.0));
  const float alpha = static_cast<float>(s / (2.0 * Q));

  switch (filterType) {
    case rtLowPass:
    case rtHighPass:
    case rtBandPass:
    case rtNotch:
      InvA0 = static_cast<float>(1.0 / (1.0 + alpha));
      A1 = static_cast<float>(-2.0 * c * InvA0);
      A2 = static_cast<float>((1.0 - alpha) * InvA0);
      if (filterType == rtLowPass) {
        B1 = static_cast<float>((1.0 - c) * InvA0 * g);
        B0 = static_cast<float>(B1 * 0.5);
      } else if (filterType == rtHighPass) {
        B1 = static_cast<float>(-(1.0 + c) * InvA0 * g);
        B0 = static_cast<float>(-B1 * 0.5);
      } else if (filterType == rtBandPass) {
        B0 = static_cast<float>(alpha * static_cast<double>(InvA0) * g);
      } else {
        B0 = static_cast<float>(static_cast<double>(InvA0) * g);
        B1 = static_cast<float>(static_cast<double>(A1) * g);
      }
      break;
    case rtLowShelf:
    case rtHighShelf: {
      const double S = 1.0;
      const float P = static_cast<float>(A + 1.0);
      const float M = static_cast<float>(A - 1.0);
      const float Pc = static_cast<float>(static_cast<double>(P) * c);
      const float Mc = static_cast<float>(static_cast<double>(M) * c);
      const float beta =
          static_cast<float>(s * std::sqrt((static_cast<double>(A) * A + 1.0) / S - static_cast<double>(M) * M));
      if (filterType == rtLowShelf) {
        InvA0 = static_cast<float>(1.0 / (static_cast<double>(P) + Mc + beta));
        A1 = static_cast<float>(-2.0 * (static_cast<double>(M) + Pc) * InvA0);
        A2 = static_cast<float>((static_cast<double>(P) + Mc - beta) * InvA0);
        B0 = static_cast<float>(static_cast<double>(A) * (static_cast<double>(P) - Mc + beta) * InvA0);
        B1 = static_cast<float>(2.0 * A * (static_cast<double>(M) - Pc) * InvA0);
        B2 = static_cast<float>(static_cast<double>(A) * (static_cast<double>(P) - Mc - beta) * InvA0);
      } else {
        InvA0 = static_cast<float>(1.0 / (static_cast<double>(P) - Mc + beta));
        A1 = static_cast<float>(2.0 * (static_cast<double>(M) - Pc) * InvA0);
        A2 = static_cast<float>((static_cast<double>(P) - Mc - beta) * InvA0);
        B0 = static_cast<float>(static_cast<double>(A) * (static_cast<double>(P) + Mc + beta) * InvA0);
        B1 = static_cast<float>(-2.0 * A * (static_cast<double>(M) + Pc) * InvA0);
        B2 = static_cast<float>(static_cast<double>(A) * (static_cast<double>(P) + Mc - beta) * InvA0);
      }
      break;
    }
    case rtPeaking: {
      const float alphaA = static_cast<float>(static_cast<double>(alpha) * A);
      const float alphaD = static_cast<float>(static_cast<double>(alpha) / A);
      InvA0 = static_cast<float>(1.0 / (1.0 + alphaD));
      A1 = static_cast<float>(-2.0 * c * InvA0);
      A2 = static_cast<float>((1.0 - alphaD) * InvA0);
      B0 = static_cast<float>((1.0 + alphaA) * InvA0);
      B2 = static_cast<float>((1.0 - alphaA) * InvA0);
      break;
    }
    default: break;
  }
}

float tReferenceFilter::Process(float x) {
  // Products of two floats are exact in double; the sums run left to right.
  const double in = x;
  double equation = 0.0;
  switch (FilterType) {
    case rtGain: equation = B0 * in; break;
    case rtLowPass:
    case rtHighPass:
    case rtNotch:
      equation = B0 * in + B1 * static_cast<double>(X1) + B0 * static_cast<double>(X2) - A1 * static_cast<double>(Y1) -
                 A2 * static_cast<double>(Y2);
      break;
    case rtBandPass:
      equation = B0 * in - B0 * static_cast<double>(X2) - A1 * static_cast<double>(Y1) - A2 * static_cast<double>(Y2);
      break;
    case rtLowShelf:
    case rtHighShelf:
      equation = B0 * in + B1 * static_cast<double>(X1) + B2 * static_cast<double>(X2) - A1 * static_cast<double>(Y1) -
                 A2 * static_cast<double>(Y2);
      break;
    case rtPeaking:
      equation = B0 * in + A1 * static_cast<double>(X1) + B2 * static_cast<double>(X2) - A1 * static_cast<double>(Y1) -
                 A2 * static_cast<double>(Y2);
      break;
    default: break;
  }
  const float y = FilterType > rtPeaking ? 0.0f : static_cast<float>(equation - kDenormalOffset);
  Y2 = Y1;
  Y1 = y;
  X2 = X1;
  X1 = x;
  return y;
}

}  // namespace reference
