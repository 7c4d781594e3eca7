// The side-by-side pair must give exactly what two separate filters give.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "dsp/FilterPair.h"

namespace {

std::vector<float> Material(size_t length) {
  std::vector<float> v(length);
  uint32_t seed = 99;
  for (size_t n = 0; n < length; ++n) {
    seed = seed * 1664525u + 1013904223u;
    v[n] = static_cast<float>(0.6 * std::sin(0.01 * static_cast<double>(n)) +
                              0.3 * (static_cast<int32_t>(seed) / 2147483648.0));
  }
  return v;
}

// Runs both ways, redesigning both filters at the given frames.
void ExpectSameAsSeparateFilters(const std::vector<std::pair<uint8_t, uint8_t>>& designs) {
  tFilterSV low, high, lowRef, highRef;
  const auto input = Material(3000);
  const size_t segment = input.size() / designs.size();
  size_t n = 0;
  for (size_t d = 0; d < designs.size(); ++d) {
    const float hz = 80.0f + 150.0f * static_cast<float>(d);
    low.Design(44100, designs[d].first, hz, 0.5f, 0.5f);
    high.Design(44100, designs[d].second, hz, 0.5f, 0.5f);
    lowRef.Design(44100, designs[d].first, hz, 0.5f, 0.5f);
    highRef.Design(44100, designs[d].second, hz, 0.5f, 0.5f);
    tFilterPair pair(low, high);
    for (size_t end = n + segment; n < end; ++n) {
      float a, b;
      pair.Process(input[n], a, b);
      ASSERT_EQ(a, lowRef.Process(input[n])) << n;
      ASSERT_EQ(b, highRef.Process(input[n])) << n;
    }
    pair.Finish();
    EXPECT_EQ(low.Y1, lowRef.Y1);
    EXPECT_EQ(high.X2, highRef.X2);
  }
}

}  // namespace

TEST(FilterPair, BitForBitTheSameAsTwoFilters) {
  ExpectSameAsSeparateFilters({{ftLowPass, ftHighPass}, {ftLowPass, ftHighPass}});
  ExpectSameAsSeparateFilters({{ftLowShelf, ftPeaking}, {ftNotch, ftHighShelf}});
  // Responses with fewer terms take the one-filter path, and back again.
  ExpectSameAsSeparateFilters({{ftLowPass, ftHighPass}, {ftBandPass, ftGain}, {ftLowPass, ftHighPass}});
}

TEST(FilterPair, RedesignInTheMiddleOfABlockTakesEffectAtTheNextSample) {
  tFilterSV low, high, lowRef, highRef;
  for (tFilterSV* f : {&low, &lowRef}) f->Design(44100, ftLowPass, 100.0f, 0.5f, 0.5f);
  for (tFilterSV* f : {&high, &highRef}) f->Design(44100, ftHighPass, 100.0f, 0.5f, 0.5f);
  const auto input = Material(200);
  tFilterPair pair(low, high);
  for (size_t n = 0; n < input.size(); ++n) {
    if (n == 100) {
      for (tFilterSV* f : {&low, &lowRef}) f->Design(44100, ftLowPass, 400.0f, 0.5f, 0.5f);
      for (tFilterSV* f : {&high, &highRef}) f->Design(44100, ftHighPass, 400.0f, 0.5f, 0.5f);
    }
    float a, b;
    pair.Process(input[n], a, b);
    ASSERT_EQ(a, lowRef.Process(input[n])) << n;
    ASSERT_EQ(b, highRef.Process(input[n])) << n;
  }
  pair.Finish();
}
