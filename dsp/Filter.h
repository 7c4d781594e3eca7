// Second-order IIR filters (direct form I biquads) for the band split.
//
// Threads: the owner may redesign a running filter from any number of
// parameter threads while the audio thread keeps calling Process, and no
// thread ever waits for another. Each Design computes its coefficients in
// locals, writes them whole into one of a few slots that no other designer
// and no running Process is using, and hands that slot over by swapping one
// word that names the slot and the design's ticket. Process copies the
// design of the slot named, and drops a copy that a designer overwrote while
// it read: a mixture of an old A1 and a new A2 can be unstable and would
// leave NaN in the history. A designer stopped half-way holds its own slot
// only; the others keep handing over theirs.
//
// Tickets order the designs: a design replaces only one of an older ticket,
// so a designer that was pre-empted cannot bring back a design older than
// one already running. The history and the running copy are touched only
// by the audio thread (Process, Reset, HealHistory) and stay plain.
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

  // Orders the designs of several threads. An owner that derives the design
  // from shared values takes the ticket before it reads them: a design read
  // later then always carries the later ticket.
  uint32_t NextTicket();

  // Safe on any thread while another runs Process, and from several threads
  // at once; never waits. The history is left alone, so a running filter can
  // be retuned without a click. A design whose coefficients are not finite,
  // or whose poles lie clearly outside the unit circle, is recorded in the
  // fields below but not handed to Process, which keeps the last good one.
  // Returns false only when every slot was taken by designers stopped in the
  // middle of theirs: the design was dropped, and the owner must design
  // again once one of them has finished.
  bool Design(uint32_t ticket, int32_t sampleRate, uint8_t filterType, float frequency, float q, float gainDB);
  bool Design(int32_t sampleRate, uint8_t filterType, float frequency, float q, float gainDB) {
    return Design(NextTicket(), sampleRate, filterType, frequency, q, gainDB);
  }

  // Defined here so that an owner holding a tFilterSV can have it inlined:
  // it runs twice per frame on the audio thread.
  float Process(float sample) override;

  void Reset() override;

  // Audio thread: Reset when the history holds a NaN or an infinity, or a
  // value beyond kHistoryLimit. One such value would otherwise stay in the
  // recursion for good; a huge one can ring beyond the float range on the
  // way down even after the input has become ordinary again.
  void HealHistory();
  // Far above any signal (+400 dBFS), far enough below the float range that
  // the ringing of any band-split design started from it stays finite.
  static constexpr float kHistoryLimit = 1e20f;

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

  // The record of the last Design asked for, refused ones included: its
  // settings and the coefficients it came to, normalised by a0. Each
  // response stores only those its equation reads; the others keep what an
  // earlier design left in them. For inspection: Process reads the slots.
  std::atomic<float> InvA0{0.0f};
  std::atomic<float> A1{0.0f};
  std::atomic<float> A2{0.0f};
  std::atomic<float> B0{0.0f};
  std::atomic<float> B1{0.0f};
  std::atomic<float> B2{0.0f};
  std::atomic<float> Frequency{0.0f};
  std::atomic<float> Q{0.0f};
  std::atomic<float> GainDB{0.0f};
  std::atomic<uint8_t> FilterType{ftGain};
  std::atomic<int32_t> SampleRate{44100};

  // For tests: called by every Design in the middle of writing its slot,
  // to stop a designer there. Null in use.
  static std::atomic<void (*)()> MidDesignHook;

 private:
  friend class tFilterPair;

  struct Coefficients {
    float invA0 = 0.0f, a1 = 0.0f, a2 = 0.0f, b0 = 0.0f, b1 = 0.0f, b2 = 0.0f;
    uint8_t stored = 0;  // which of them the response sets, by the bits below
  };
  enum : uint8_t { kInvA0 = 1, kA1 = 2, kA2 = 4, kB0 = 8, kB1 = 16, kB2 = 32 };
  static Coefficients ComputeCoefficients(uint8_t filterType, int32_t sampleRate, float frequency, float q,
                                          float gainDB);
  static bool Runnable(uint8_t filterType, const Coefficients& k);
  void Record(int32_t sampleRate, uint8_t filterType, float frequency, float q, float gainDB, const Coefficients& k);
  bool Recorded(int32_t sampleRate, uint8_t filterType, float frequency, float q, float gainDB) const;

  // One design as handed over. Seq is odd while a designer writes the slot;
  // Claimed keeps other designers out of it from before the write until
  // after the hand-over. Claims and releases are sequentially consistent:
  // an owner that raises a flag after finding every slot claimed is seen
  // by the designer that lets go of one next.
  struct Slot {
    std::atomic<uint32_t> seq{0};
    std::atomic<bool> claimed{false};
    std::atomic<uint8_t> type{ftGain};
    std::atomic<int32_t> sampleRate{0};
    std::atomic<float> frequency{0.0f}, q{0.0f}, gainDB{0.0f};
    std::atomic<float> a1{0.0f}, a2{0.0f}, b0{0.0f}, b1{0.0f}, b2{0.0f};
  };
  // The one handed over, and one for each designer stopped in the middle of
  // its own at the same time.
  static constexpr uint32_t kSlots = 4;
  static constexpr uint32_t kSlotBits = 0x3;  // the low bits of a hand-over word
  static constexpr uint32_t kTicketStep = kSlots;
  Slot Slots[kSlots];
  // The design Process is to run: its ticket, plus the slot in the low bits.
  // Ticket 0 means no design yet: the construction state runs.
  std::atomic<uint32_t> HandedOver{0};
  std::atomic<uint32_t> Tickets{0};

  static bool Newer(uint32_t word, uint32_t than) {
    return static_cast<int32_t>((word & ~kSlotBits) - (than & ~kSlotBits)) > 0;
  }
  // Whether the design handed over has these settings; false when a
  // designer was rewriting its slot meanwhile.
  bool RunningHas(uint32_t word, int32_t sampleRate, uint8_t filterType, float frequency, float q, float gainDB) const;
  // Claims a slot that is neither handed over nor another designer's; the
  // number of slots when there is none.
  uint32_t ClaimSlot();

  // The audio thread's copy of the design it runs: the float coefficients,
  // widened once per design instead of per sample. Design names the copy:
  // the slot's seq times the slot count plus the slot, so that a word that
  // only took a new ticket finds the copy it already has. Word 0 with a zero
  // gain is the construction state.
  struct Snapshot {
    uint32_t word = 0;
    uint32_t design = 0;
    uint8_t type = ftGain;
    double a1 = 0.0, a2 = 0.0, b0 = 0.0, b1 = 0.0, b2 = 0.0;
  };
  Snapshot Running;

  // Takes over the design handed over last, if there is a newer one.
  void RefreshDesign();
};

FILTER_INLINE void tFilterSV::RefreshDesign() {
  const uint32_t word = HandedOver.load(std::memory_order_acquire);
  if (word == Running.word) return;
  const Slot& slot = Slots[word & kSlotBits];
  // Acquire loads (plain moves on x86): should one of them see a store of
  // a designer that claimed the slot since, the Seq or the word read after
  // them shows it, and the copy is dropped for this sample.
  constexpr auto acquire = std::memory_order_acquire;
  const uint32_t seq = slot.seq.load(acquire);
  if ((seq & 1) != 0) return;
  const uint32_t design = seq * kSlots + (word & kSlotBits);
  if (design == Running.design) {
    Running.word = word;
    return;
  }
  const Snapshot fresh{word,
                       design,
                       slot.type.load(acquire),
                       slot.a1.load(acquire),
                       slot.a2.load(acquire),
                       slot.b0.load(acquire),
                       slot.b1.load(acquire),
                       slot.b2.load(acquire)};
  if (slot.seq.load(std::memory_order_relaxed) == seq && HandedOver.load(std::memory_order_relaxed) == word) {
    Running = fresh;
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
    case ftGain: acc = k.b0 * x; break;
    case ftLowPass:
    case ftHighPass:
    case ftNotch: acc = k.b0 * x + k.b1 * h.x1 + k.b0 * h.x2 - k.a1 * h.y1 - k.a2 * h.y2; break;
    case ftBandPass: acc = k.b0 * x - k.b0 * h.x2 - k.a1 * h.y1 - k.a2 * h.y2; break;
    case ftLowShelf:
    case ftHighShelf: acc = k.b0 * x + k.b1 * h.x1 + k.b2 * h.x2 - k.a1 * h.y1 - k.a2 * h.y2; break;
    case ftPeaking: acc = k.b0 * x + k.a1 * h.x1 + k.b2 * h.x2 - k.a1 * h.y1 - k.a2 * h.y2; break;
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
