// Second-order IIR filters (direct form I biquads) for the band split.
//
// Threads: the owner may redesign a running filter from a parameter thread
// while the audio thread keeps calling Process. Every field that Design writes
// is an atomic (release stores and acquire loads, plain moves on x86), and
// Design brackets its stores with an odd and an even Version. Process takes
// a copy of a design only when it read the same even Version before and
// after it, so it always runs one whole design: a mixture
// of an old A1 and a new A2 can be unstable, and a designer thread preempted
// between the two stores would otherwise let the output run off to infinity,
// leaving NaN in the history for good. The history and that copy are touched
// only by the audio thread (Process, Reset) and stay plain.
#pragma once

#include <atomic>
#include <cstdint>

// Subtracted from every filter output (and by the chorus from every delay-line
// write) so that a falling-silent recursion settles at a tiny constant instead
// of decaying through the slow denormal range. No flush-to-zero mode is used.
constexpr double DenormalOffset = 1e-20;

// The per-sample path must inline into the block loop, or its history goes
// through memory on every sample.
#if defined(__GNUC__)
#define FILTER_INLINE inline __attribute__((always_inline))
#else
#define FILTER_INLINE inline
#endif

enum tFilterType : uint8_t {
  ftGain = 0,
  ftLowPass = 1,
  ftHighPass = 2,
  ftBandPass = 3,
  ftNotch = 4,
  ftLowShelf = 5,
  ftHighShelf = 6,
  ftPeaking = 7
};

class tFilterBase {
 public:
  virtual ~tFilterBase() = default;
  virtual float Process(float sample) = 0;
  virtual void Reset() = 0;
};

class tFilterSV final : public tFilterBase {
 public:
  tFilterSV() = default;

  // Safe to call on any thread while another runs Process, and from two
  // threads at once. The history is left alone, so a running filter can be
  // retuned without a click.
  void Design(int32_t sampleRate, uint8_t filterType, float frequency, float q, float gainDB);

  // Defined here so that an owner holding a tFilterSV can have it inlined:
  // it runs twice per frame on the audio thread.
  float Process(float sample) override;

  void Reset() override;

  // The history as a value, for a block loop that keeps it in registers:
  // SaveHistory before the loop, Process(h, x) per sample, RestoreHistory
  // after it. The same arithmetic as Process(x).
  // Held as doubles: each is exactly a float, converted once instead of on
  // every use.
  struct History {
    double x1, x2, y1, y2;
  };
  History SaveHistory() const { return {X1, X2, Y1, Y2}; }
  void RestoreHistory(const History& h) {
    X1 = static_cast<float>(h.x1);
    X2 = static_cast<float>(h.x2);
    Y1 = static_cast<float>(h.y1);
    Y2 = static_cast<float>(h.y2);
  }
  float Process(History& h, float sample);

  // History, audio thread only.
  float X1 = 0.0f;
  float X2 = 0.0f;
  float Y1 = 0.0f;
  float Y2 = 0.0f;

  // Coefficients, normalised by a0. Each response stores only those its
  // equation reads; the others keep what an earlier design left in them.
  std::atomic<float> InvA0{0.0f};
  std::atomic<float> A1{0.0f};
  std::atomic<float> A2{0.0f};
  std::atomic<float> B0{0.0f};
  std::atomic<float> B1{0.0f};
  std::atomic<float> B2{0.0f};

  // The settings of the last Design, compared to skip an unchanged redesign.
  std::atomic<float> Frequency{0.0f};
  std::atomic<float> Q{0.0f};
  std::atomic<float> GainDB{0.0f};
  std::atomic<uint8_t> FilterType{ftGain};
  std::atomic<int32_t> SampleRate{44100};

  // Odd while a Design is storing, even otherwise; 0 until the first Design
  // has run. An odd value also keeps a second designer out.
  std::atomic<uint32_t> Version{0};

 private:
  friend class tFilterPair;

  void ComputeCoefficients(uint8_t filterType, int32_t sampleRate, float frequency, float q,
                           float gainDB);

  // The audio thread's copy of the design it runs: the float coefficients,
  // widened once per design instead of per sample.
  struct Snapshot {
    uint32_t version = 0;
    uint8_t type = ftGain;
    double a1 = 0.0, a2 = 0.0, b0 = 0.0, b1 = 0.0, b2 = 0.0;
  };
  Snapshot Running;

  // Takes over the latest complete design, if there is a newer one.
  void RefreshDesign();
};

FILTER_INLINE void tFilterSV::RefreshDesign() {
  const uint32_t version = Version.load(std::memory_order_acquire);
  if (version != Running.version && (version & 1) == 0) {
    // Acquire loads (plain moves on x86): should one of them see a store of
    // a later Design, the Version read after them sees that Design too.
    constexpr auto acquire = std::memory_order_acquire;
    const Snapshot fresh{version,         FilterType.load(acquire), A1.load(acquire),
                         A2.load(acquire), B0.load(acquire),         B1.load(acquire),
                         B2.load(acquire)};
    // Torn by a Design that started meanwhile: keep the previous design for
    // this sample and look again at the next.
    if (Version.load(std::memory_order_relaxed) == version) Running = fresh;
  }
}

FILTER_INLINE float tFilterSV::Process(History& h, float sample) {
  RefreshDesign();

  // Every product and sum is formed in double, left to right in this order;
  // the symmetric coefficients (b2 = b0, b1 = a1, ...) are read from the
  // fields that hold them.
  const Snapshot& k = Running;
  const double x = sample;
  double acc;
  switch (k.type) {
    case ftGain:
      acc = k.b0 * x;
      break;
    case ftLowPass:
    case ftHighPass:
    case ftNotch:
      acc = k.b0 * x + k.b1 * h.x1 + k.b0 * h.x2 - k.a1 * h.y1 - k.a2 * h.y2;
      break;
    case ftBandPass:
      acc = k.b0 * x - k.b0 * h.x2 - k.a1 * h.y1 - k.a2 * h.y2;
      break;
    case ftLowShelf:
    case ftHighShelf:
      acc = k.b0 * x + k.b1 * h.x1 + k.b2 * h.x2 - k.a1 * h.y1 - k.a2 * h.y2;
      break;
    case ftPeaking:
      acc = k.b0 * x + k.a1 * h.x1 + k.b2 * h.x2 - k.a1 * h.y1 - k.a2 * h.y2;
      break;
    default:
      // An unknown response is silent, without the offset.
      acc = DenormalOffset;
      break;
  }
  // A named float: on the x87 builds (-ffloat-store) this store is what
  // rounds the extended-precision sum to float.
  const float y = static_cast<float>(acc - DenormalOffset);
  h.y2 = h.y1;
  h.y1 = y;
  h.x2 = h.x1;
  h.x1 = x;
  return y;
}

inline float tFilterSV::Process(float sample) {
  History h = SaveHistory();
  const float y = Process(h, sample);
  RestoreHistory(h);
  return y;
}
