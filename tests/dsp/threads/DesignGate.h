// Stops designers in the middle of writing a filter design, as a scheduler
// may pre-empt a window or host thread there, until the test opens the gate.
#pragma once

#include <atomic>
#include <chrono>
#include <thread>

#include "dsp/Filter.h"

class DesignGate {
 public:
  DesignGate() {
    open_ = false;
    stopped_ = 0;
    tFilterSV::MidDesignHook.store(&Hook);
  }
  ~DesignGate() {
    Open();
    tFilterSV::MidDesignHook.store(nullptr);
  }

  // The calling thread's designs stop at the gate from now on.
  static void StopHere() { stopsHere_ = true; }

  static bool WaitStopped(int count) {
    return WaitFor([count] { return stopped_.load() >= count; });
  }
  static void Open() { open_ = true; }

  // Waits until done() holds; false after ten seconds.
  template <typename Done>
  static bool WaitFor(Done done) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
      if (std::chrono::steady_clock::now() > limit) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }

 private:
  static void Hook() {
    if (!stopsHere_) return;
    ++stopped_;
    while (!open_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }

  static inline std::atomic<bool> open_{false};
  static inline std::atomic<int> stopped_{0};
  static inline thread_local bool stopsHere_ = false;
};
