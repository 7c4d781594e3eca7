// Two filters fed the same input, run side by side: the band split's
// low-pass and high-pass. Where SSE2 is there, one packed double operation
// serves both filters. Each lane does exactly the arithmetic of
// tFilterSV::Process, in the same order, so the outputs are bit for bit
// those of two separate filters; only the instruction count halves.
#pragma once

#include "dsp/Filter.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

class tFilterPair {
 public:
  // Takes over both filters' history for a block; Finish hands it back.
  tFilterPair(tFilterSV& first, tFilterSV& second)
      : first_(first), second_(second), h1_(first.SaveHistory()), h2_(second.SaveHistory()) {}

  FILTER_INLINE void Process(float x, float& firstOut, float& secondOut) {
    first_.RefreshDesign();
    second_.RefreshDesign();
#if defined(__SSE2__)
    if (first_.Running.design != packedFirst_ || second_.Running.design != packedSecond_) Repack();
    if (packed_) {
      ProcessPacked(x, firstOut, secondOut);
      return;
    }
#endif
    firstOut = first_.Process(h1_, x);
    secondOut = second_.Process(h2_, x);
  }

  void Finish() {
#if defined(__SSE2__)
    if (packed_) Unpack();
#endif
    first_.RestoreHistory(h1_);
    second_.RestoreHistory(h2_);
  }

 private:
  tFilterSV& first_;
  tFilterSV& second_;
  tFilterSV::History h1_;
  tFilterSV::History h2_;

#if defined(__SSE2__)
  // Lanes: low = first filter, high = second.
  bool packed_ = false;
  uint32_t packedFirst_ = ~0u;
  uint32_t packedSecond_ = ~0u;
  __m128d b0_ = _mm_setzero_pd(), c1_ = _mm_setzero_pd(), c2_ = _mm_setzero_pd(), a1_ = _mm_setzero_pd(),
          a2_ = _mm_setzero_pd();
  __m128d x1_ = _mm_setzero_pd(), x2_ = _mm_setzero_pd(), y1_ = _mm_setzero_pd(), y2_ = _mm_setzero_pd();

  // The five-term equations y = b0 x + c1 X1 + c2 X2 - a1 Y1 - a2 Y2, with
  // c1 and c2 the fields each response reads there. Responses with fewer
  // terms keep the one-filter path: a zero term is not free when the
  // history holds an infinity.
  FILTER_INLINE static bool FiveTerms(uint8_t type, const tFilterSV::Snapshot& k, double& c1, double& c2) {
    switch (type) {
      case ftLowPass:
      case ftHighPass:
      case ftNotch:
        c1 = k.b1;
        c2 = k.b0;
        return true;
      case ftLowShelf:
      case ftHighShelf:
        c1 = k.b1;
        c2 = k.b2;
        return true;
      case ftPeaking:
        c1 = k.a1;
        c2 = k.b2;
        return true;
      default: return false;
    }
  }

  FILTER_INLINE void Repack() {
    const bool wasPacked = packed_;
    if (wasPacked) Unpack();
    const tFilterSV::Snapshot& k1 = first_.Running;
    const tFilterSV::Snapshot& k2 = second_.Running;
    double c1First, c2First, c1Second, c2Second;
    packed_ = FiveTerms(k1.type, k1, c1First, c2First) && FiveTerms(k2.type, k2, c1Second, c2Second);
    packedFirst_ = k1.design;
    packedSecond_ = k2.design;
    if (!packed_) return;
    b0_ = _mm_set_pd(k2.b0, k1.b0);
    c1_ = _mm_set_pd(c1Second, c1First);
    c2_ = _mm_set_pd(c2Second, c2First);
    a1_ = _mm_set_pd(k2.a1, k1.a1);
    a2_ = _mm_set_pd(k2.a2, k1.a2);
    x1_ = _mm_set_pd(h2_.x1, h1_.x1);
    x2_ = _mm_set_pd(h2_.x2, h1_.x2);
    y1_ = _mm_set_pd(h2_.y1, h1_.y1);
    y2_ = _mm_set_pd(h2_.y2, h1_.y2);
  }

  FILTER_INLINE void Unpack() {
    h1_ = {_mm_cvtsd_f64(x1_), _mm_cvtsd_f64(x2_), _mm_cvtsd_f64(y1_), _mm_cvtsd_f64(y2_)};
    h2_ = {_mm_cvtsd_f64(_mm_unpackhi_pd(x1_, x1_)), _mm_cvtsd_f64(_mm_unpackhi_pd(x2_, x2_)),
           _mm_cvtsd_f64(_mm_unpackhi_pd(y1_, y1_)), _mm_cvtsd_f64(_mm_unpackhi_pd(y2_, y2_))};
  }

  FILTER_INLINE void ProcessPacked(float sample, float& firstOut, float& secondOut) {
    const __m128d x = _mm_set1_pd(static_cast<double>(sample));
    __m128d acc = _mm_mul_pd(b0_, x);
    acc = _mm_add_pd(acc, _mm_mul_pd(c1_, x1_));
    acc = _mm_add_pd(acc, _mm_mul_pd(c2_, x2_));
    acc = _mm_sub_pd(acc, _mm_mul_pd(a1_, y1_));
    acc = _mm_sub_pd(acc, _mm_mul_pd(a2_, y2_));
    acc = _mm_sub_pd(acc, _mm_set1_pd(DenormalOffset));
    // Round both outputs to float, as the one-filter path does, and keep
    // the rounded values as history.
    const __m128 y = _mm_cvtpd_ps(acc);
    y2_ = y1_;
    y1_ = _mm_cvtps_pd(y);
    x2_ = x1_;
    x1_ = x;
    firstOut = _mm_cvtss_f32(y);
    secondOut = _mm_cvtss_f32(_mm_shuffle_ps(y, y, 1));
  }
#endif
};
