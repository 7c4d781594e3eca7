#include "Filter.h"

#include <cmath>

#include "core/FloatGuard.h"

std::atomic<void (*)()> tFilterSV::MidDesignHook{nullptr};

namespace {
constexpr auto relaxed = std::memory_order_relaxed;
constexpr auto acquire = std::memory_order_acquire;
constexpr auto release = std::memory_order_release;
constexpr auto acqRel = std::memory_order_acq_rel;
}  // namespace

uint32_t tFilterSV::NextTicket() {
  uint32_t ticket;
  do {
    ticket = Tickets.fetch_add(kTicketStep, acqRel) + kTicketStep;
  } while (ticket == 0);  // reserved for "no design yet"
  return ticket;
}

bool tFilterSV::Design(uint32_t ticket, int32_t sampleRate, uint8_t filterType, float frequency, float q,
                       float gainDB) {
  // Callers come from the host or the window system with any control word;
  // a Q of 0 or a rate of 0 must give non-finite coefficients, not a trap.
  FloatGuard::Apply();
  ticket &= ~kSlotBits;

  // The owner redesigns on every parameter change; most calls change
  // nothing. The running design then only takes this ticket, so that an
  // older design still under way cannot replace it when it is done.
  uint32_t running = HandedOver.load(acquire);
  while (Recorded(sampleRate, filterType, frequency, q, gainDB) &&
         RunningHas(running, sampleRate, filterType, frequency, q, gainDB)) {
    if (!Newer(ticket, running)) return true;
    if (HandedOver.compare_exchange_weak(running, ticket | (running & kSlotBits), acqRel, acquire)) return true;
  }

  const Coefficients k = ComputeCoefficients(filterType, sampleRate, frequency, q, gainDB);
  Record(sampleRate, filterType, frequency, q, gainDB, k);
  if (!Runnable(filterType, k)) return true;

  const uint32_t index = ClaimSlot();
  if (index == kSlots) return false;
  Slot& slot = Slots[index];
  const uint32_t seq = slot.seq.load(relaxed);
  slot.seq.store(seq + 1, relaxed);
  // Release stores: a Process that sees any of them also sees the odd seq
  // stored before it, and so drops what it read.
  slot.type.store(filterType, release);
  slot.sampleRate.store(sampleRate, release);
  slot.frequency.store(frequency, release);
  slot.q.store(q, release);
  slot.gainDB.store(gainDB, release);
  if (void (*hook)() = MidDesignHook.load(acquire)) hook();
  slot.a1.store(k.a1, release);
  slot.a2.store(k.a2, release);
  slot.b0.store(k.b0, release);
  slot.b1.store(k.b1, release);
  slot.b2.store(k.b2, release);
  slot.seq.store(seq + 2, release);

  // Handed over unless a design of a later ticket was meanwhile.
  const uint32_t word = ticket | index;
  uint32_t current = HandedOver.load(acquire);
  while (Newer(word, current) && !HandedOver.compare_exchange_weak(current, word, acqRel, acquire)) {
  }
  slot.claimed.store(false);
  return true;
}

uint32_t tFilterSV::ClaimSlot() {
  for (uint32_t index = 0; index < kSlots; ++index) {
    Slot& slot = Slots[index];
    if (slot.claimed.exchange(true)) continue;
    // Checked after the claim: the designer that held the slot before may
    // have handed it over, and then it is running.
    if ((HandedOver.load(acquire) & kSlotBits) != index) return index;
    slot.claimed.store(false);
  }
  return kSlots;
}

bool tFilterSV::RunningHas(uint32_t word, int32_t sampleRate, uint8_t filterType, float frequency, float q,
                           float gainDB) const {
  if ((word & ~kSlotBits) == 0) return false;
  const Slot& slot = Slots[word & kSlotBits];
  const uint32_t seq = slot.seq.load(acquire);
  if ((seq & 1) != 0) return false;
  const bool same = slot.type.load(acquire) == filterType && slot.sampleRate.load(acquire) == sampleRate &&
                    slot.frequency.load(acquire) == frequency && slot.q.load(acquire) == q &&
                    slot.gainDB.load(acquire) == gainDB;
  return same && slot.seq.load(relaxed) == seq;
}

bool tFilterSV::Recorded(int32_t sampleRate, uint8_t filterType, float frequency, float q, float gainDB) const {
  return Frequency.load(relaxed) == frequency && Q.load(relaxed) == q && GainDB.load(relaxed) == gainDB &&
         FilterType.load(relaxed) == filterType && SampleRate.load(relaxed) == sampleRate;
}

void tFilterSV::Record(int32_t sampleRate, uint8_t filterType, float frequency, float q, float gainDB,
                       const Coefficients& k) {
  Frequency.store(frequency, relaxed);
  Q.store(q, relaxed);
  GainDB.store(gainDB, relaxed);
  FilterType.store(filterType, relaxed);
  SampleRate.store(sampleRate, relaxed);
  if (k.stored & kInvA0) InvA0.store(k.invA0, relaxed);
  if (k.stored & kA1) A1.store(k.a1, relaxed);
  if (k.stored & kA2) A2.store(k.a2, relaxed);
  if (k.stored & kB0) B0.store(k.b0, relaxed);
  if (k.stored & kB1) B1.store(k.b1, relaxed);
  if (k.stored & kB2) B2.store(k.b2, relaxed);
}

// Poles inside the unit circle: |a2| < 1 and |a1| < 1 + a2. A design meant to
// have them on the circle (0 Hz, the Nyquist frequency) can come out a float
// step or two beyond it; such a pole takes hours to grow, and the chorus
// heals the history when it does, so only poles clearly outside are refused.
// NaN fails every comparison.
bool tFilterSV::Runnable(uint8_t filterType, const Coefficients& k) {
  if (filterType > ftPeaking) return true;  // silent: nothing to run away
  constexpr double kSlack = 1e-6;
  const auto finite = [](float v) { return std::isfinite(v); };
  const bool numerator = finite(k.b0) && finite(k.b1) && finite(k.b2);
  if (filterType == ftGain) return numerator;
  const double a1 = k.a1, a2 = k.a2;
  return numerator && std::fabs(a2) <= 1.0 + kSlack && std::fabs(a1) <= 1.0 + a2 + kSlack;
}

// The designs follow the Audio EQ Cookbook. Every named intermediate is a
// float (on the x87 builds -ffloat-store makes each of these variables a real
// rounding to float), the arithmetic between them is done in double, and each
// coefficient is rounded to float before a later formula reads it. The
// results therefore come out the same on every build, bit for bit.
tFilterSV::Coefficients tFilterSV::ComputeCoefficients(uint8_t filterType, int32_t sampleRate, float frequency, float q,
                                                       float gainDB) {
  Coefficients k;
  if (filterType == ftGain) {
    const float b0 = static_cast<float>(std::pow(10.0, gainDB / 20.0));
    k.b0 = b0;
    k.stored = kB0;
    return k;
  }
  // Unknown types keep the old coefficients.
  if (filterType > ftPeaking) return k;

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
      k.invA0 = invA0;
      k.a1 = a1;
      k.a2 = a2;
      k.stored = kInvA0 | kA1 | kA2;
      if (filterType == ftLowPass) {
        const float b1 = static_cast<float>((1.0 - c) * invA0 * g);
        const float b0 = static_cast<float>(b1 * 0.5);
        k.b0 = b0;
        k.b1 = b1;
        k.stored |= kB0 | kB1;
      } else if (filterType == ftHighPass) {
        const float b1 = static_cast<float>(-(1.0 + c) * invA0 * g);
        const float b0 = static_cast<float>(-b1 * 0.5);
        k.b0 = b0;
        k.b1 = b1;
        k.stored |= kB0 | kB1;
      } else if (filterType == ftBandPass) {
        const float b0 = static_cast<float>(double(alpha) * invA0 * g);
        k.b0 = b0;
        k.stored |= kB0;
      } else {
        const float b0 = static_cast<float>(double(invA0) * g);
        const float b1 = static_cast<float>(double(a1) * g);
        k.b0 = b0;
        k.b1 = b1;
        k.stored |= kB0 | kB1;
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
      const float beta = static_cast<float>(s * std::sqrt((double(A) * A + 1.0) / S - double(M) * M));
      // The high shelf mirrors the low one about a quarter of the sample
      // rate: c and the odd-power coefficients change sign.
      const bool low = filterType == ftLowShelf;
      const float invA0 = static_cast<float>(1.0 / (low ? double(P) + Mc + beta : double(P) - Mc + beta));
      const float a1 = static_cast<float>(low ? -2.0 * (double(M) + Pc) * invA0 : 2.0 * (double(M) - Pc) * invA0);
      const float a2 = static_cast<float>(low ? (double(P) + Mc - beta) * invA0 : (double(P) - Mc - beta) * invA0);
      const float b0 = static_cast<float>(low ? double(A) * (double(P) - Mc + beta) * invA0
                                              : double(A) * (double(P) + Mc + beta) * invA0);
      const float b1 =
          static_cast<float>(low ? 2.0 * A * (double(M) - Pc) * invA0 : -2.0 * A * (double(M) + Pc) * invA0);
      const float b2 = static_cast<float>(low ? double(A) * (double(P) - Mc - beta) * invA0
                                              : double(A) * (double(P) + Mc - beta) * invA0);
      k.invA0 = invA0;
      k.a1 = a1;
      k.a2 = a2;
      k.b0 = b0;
      k.b1 = b1;
      k.b2 = b2;
      k.stored = kInvA0 | kA1 | kA2 | kB0 | kB1 | kB2;
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
      k.invA0 = invA0;
      k.a1 = a1;
      k.a2 = a2;
      k.b0 = b0;
      k.b2 = b2;
      k.stored = kInvA0 | kA1 | kA2 | kB0 | kB2;
      break;
    }
    default: break;
  }
  return k;
}

void tFilterSV::Reset() {
  X1 = 0.0f;
  X2 = 0.0f;
  Y1 = 0.0f;
  Y2 = 0.0f;
}

void tFilterSV::HealHistory() {
  const auto sane = [](float v) { return std::fabs(v) <= kHistoryLimit; };
  if (!(sane(X1) && sane(X2) && sane(Y1) && sane(Y2))) Reset();
}
