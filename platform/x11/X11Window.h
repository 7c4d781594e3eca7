// The form's window on X11: a child of the host's window, on an XCB
// connection of its own, with an event thread of its own while it exists.
//
// The host's X state stays the host's. XCB reports errors per request and
// per connection, so the window never installs an error handler, never
// initialises Xlib's threads, and leaves nothing behind when the library is
// unloaded: the host's handlers are in place before, during and after.
//
// Threads. Every use of the connection is made under the window's own lock,
// except the event thread's poll of its descriptor, which stays open until
// the destructor has joined that thread. Events are handled, the form's
// timer ticks and the form is painted by the event thread, woken by the
// connection, by its timer or by a request. A pump holds the form's
// EventMutex for the whole batch, so form and control work from other
// threads (the editor's) never runs beside it. The form's requests to the
// window (paint later, show these pixels, show, raise, start the timer) only
// record the request and wake the event thread: they make no X call,
// whatever thread they come from.
//
// Destruction stops and joins the event thread, then closes the connection,
// before it returns. The event thread never waits for the EventMutex for
// good: while it is held elsewhere it retries and gives up once the window
// is going, so the window may also be destroyed by a thread that holds the
// EventMutex (which is the safe way: the form is not fed while it loses its
// window).
//
// Requests the server refuses come back as error events and are dropped; a
// server that goes away, a connection the server drops, or a host window
// destroyed under the window leaves a dead window, not a dead host.
#pragma once

#include <memory>

#include "platform/NativeWindow.h"

// Makes the X server the source of the screen's pixels per inch
// (SetPixelsPerInchSource) and returns the factory of X11 windows, for
// SetNativeWindowFactory.
TNativeWindowFactory X11WindowFactory();

struct TX11WindowOptions {
  // Shows the pixels through a shared-memory image where the server offers
  // one (a local server); false always sends them over the connection.
  bool SharedMemory = true;
};

// The window inside `parent` (an X11 window id) of the server $DISPLAY names,
// hidden, of the form's client size; null when there is no server, no such
// parent window or no usable visual.
std::unique_ptr<TNativeWindow> CreateX11Window(TForm& form, void* parent, const TX11WindowOptions& options = {});
