#include "X11Errors.h"

#include <mutex>
#include <vector>

namespace x11errors {
namespace {

struct TEntry {
  Display* display;
  uint32_t errors;
  bool dead;
};

// Guards everything below. Handlers run inside Xlib calls, which never hold
// this lock, so taking it there cannot deadlock.
std::mutex& Lock() {
  static std::mutex lock;
  return lock;
}
std::vector<TEntry>& Entries() {
  static std::vector<TEntry> entries;
  return entries;
}
int scopeDepth = 0;
XErrorHandler previousError = nullptr;
XIOErrorHandler previousIOError = nullptr;

TEntry* Find(Display* display) {
  for (TEntry& entry : Entries()) {
    if (entry.display == display) return &entry;
  }
  return nullptr;
}

int OnError(Display* display, XErrorEvent* event) {
  XErrorHandler chained = nullptr;
  {
    std::lock_guard<std::mutex> guard(Lock());
    if (TEntry* entry = Find(display)) {
      ++entry->errors;
      return 0;
    }
    chained = previousError;
  }
  return chained != nullptr && chained != &OnError ? chained(display, event) : 0;
}

int OnIOError(Display* display) {
  XIOErrorHandler chained = nullptr;
  {
    std::lock_guard<std::mutex> guard(Lock());
    if (TEntry* entry = Find(display)) {
      // The connection's own exit handler (below) runs next, instead of exit.
      entry->dead = true;
      return 0;
    }
    chained = previousIOError;
  }
  return chained != nullptr && chained != &OnIOError ? chained(display) : 0;
}

void OnIOExit(Display* display, void* /*data*/) {
  std::lock_guard<std::mutex> guard(Lock());
  if (TEntry* entry = Find(display)) entry->dead = true;
}

}  // namespace

void Register(Display* display) {
  {
    std::lock_guard<std::mutex> guard(Lock());
    // A new connection may reuse the address of one closed before.
    if (TEntry* entry = Find(display)) {
      *entry = TEntry{display, 0, false};
    } else {
      Entries().push_back(TEntry{display, 0, false});
    }
  }
  XSetIOErrorExitHandler(display, &OnIOExit, nullptr);
}

void Unregister(Display* display) {
  std::lock_guard<std::mutex> guard(Lock());
  std::vector<TEntry>& entries = Entries();
  for (auto it = entries.begin(); it != entries.end(); ++it) {
    if (it->display == display) {
      entries.erase(it);
      return;
    }
  }
}

uint32_t ErrorCount(Display* display) {
  std::lock_guard<std::mutex> guard(Lock());
  const TEntry* entry = Find(display);
  return entry != nullptr ? entry->errors : 0;
}

bool Dead(Display* display) {
  std::lock_guard<std::mutex> guard(Lock());
  const TEntry* entry = Find(display);
  return entry != nullptr && entry->dead;
}

TScope::TScope() {
  std::lock_guard<std::mutex> guard(Lock());
  if (scopeDepth++ != 0) return;
  previousError = XSetErrorHandler(&OnError);
  previousIOError = XSetIOErrorHandler(&OnIOError);
}

TScope::~TScope() {
  std::lock_guard<std::mutex> guard(Lock());
  if (--scopeDepth != 0) return;
  // Whoever replaced ours while the scope ran keeps theirs.
  const XErrorHandler current = XSetErrorHandler(previousError);
  if (current != &OnError) XSetErrorHandler(current);
  const XIOErrorHandler currentIO = XSetIOErrorHandler(previousIOError);
  if (currentIO != &OnIOError) XSetIOErrorHandler(currentIO);
  previousError = nullptr;
  previousIOError = nullptr;
}

}  // namespace x11errors
