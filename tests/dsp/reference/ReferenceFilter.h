// The band-split biquad written the slow, plain way: every design formula
// and the difference equation as one readable statement each, rounded to
// float exactly where a value is named. The plug-in's filter must give the
// same bits; nothing here is shared with it.
#pragma once

#include <cstdint>

namespace reference {

// Subtracted from every filter output and every delay-line write, added to
// every input sample.
constexpr double kDenormalOffset = 1e-20;

enum ResponseType : uint8_t {
  rtGain = 0,
  rtLowPass = 1,
  rtHighPass = 2,
  rtBandPass = 3,
  rtNotch = 4,
  rtLowShelf = 5,
  rtHighShelf = 6,
  rtPeaking = 7
};

class tReferenceFilter {
 public:
  void Design(int32_t sampleRate, uint8_t filterType, float frequency, float q, float gainDB);
  float Process(float x);

  // History.
  float X1 = 0.0f, X2 = 0.0f, Y1 = 0.0f, Y2 = 0.0f;
  // Coefficients, divided by a0.
  float InvA0 = 0.0f, A1 = 0.0f, A2 = 0.0f, B0 = 0.0f, B1 = 0.0f, B2 = 0.0f;
  // The settings of the last design.
  float Frequency = 0.0f, Q = 0.0f, GainDB = 0.0f;
  uint8_t FilterType = rtGain;
  int32_t SampleRate = 44100;
};

}  // namespace reference
