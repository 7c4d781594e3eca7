// X errors must never end the host. Xlib's default handlers print and exit,
// and its handler is one per process, shared with the host's own X code. So
// the connections of this library are registered here, and every stretch of
// requests on them runs inside a TX11ErrorScope, which puts a handler in
// place that records errors of registered connections and passes any other
// connection's errors on to the handler that was there before. The scope
// ends with the previous handler back in place, unless someone installed
// another in the meantime, which then stays.
//
// A scope must end with the connection's requests answered (XSync) so that
// no error of ours arrives after it.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

namespace x11errors {

// From now on errors on the connection are recorded, and a broken connection
// marks it dead instead of ending the process.
void Register(Display* display);
// After XCloseDisplay: forget the connection.
void Unregister(Display* display);

// Errors recorded on the connection since it was registered.
uint32_t ErrorCount(Display* display);
// The connection to the server broke; nothing more may be asked of it.
bool Dead(Display* display);

class TScope {
 public:
  TScope();
  ~TScope();
  TScope(const TScope&) = delete;
  TScope& operator=(const TScope&) = delete;
};

}  // namespace x11errors
