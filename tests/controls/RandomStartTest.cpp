// A program of its own: the generator's state is 0 when the library loads.
#include <gtest/gtest.h>

#include "Random.h"

TEST(RandomAtLoad, StartsFromStateZero) {
  EXPECT_EQ(RandomState(), 0u);
  EXPECT_EQ(Random(1000), 0);
  EXPECT_EQ(Random(1000), 31);
}
