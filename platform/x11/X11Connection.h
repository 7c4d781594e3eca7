// A connection of this library's own to the X server, through XCB. Errors
// come back per request (checked requests) or as error events in the event
// stream, and a broken connection is a state to read, never a call into a
// handler: nothing here touches the process's X state (Xlib's error
// handlers, its thread set-up), which belongs to the host.
//
// XCB serialises its own use across threads; the owner still decides when
// the connection goes. It goes only with this object, so whatever thread
// still polls the descriptor or asks the connection something must be done
// with it first.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>

class TX11Connection {
 public:
  // To the server $DISPLAY names; Broken() at once when there is none.
  TX11Connection();
  ~TX11Connection();
  TX11Connection(const TX11Connection&) = delete;
  TX11Connection& operator=(const TX11Connection&) = delete;

  xcb_connection_t* Get() const { return connection_; }
  // The server closed it, it was never made, or a request could not be sent:
  // nothing more comes of it.
  bool Broken() const { return xcb_connection_has_error(connection_) != 0; }
  // Open until this object goes, broken or not: safe to poll from any thread
  // meanwhile (a broken one reads as hung up).
  int Descriptor() const { return descriptor_; }

  // Waits for the server's verdict on a checked request; false for an error
  // or a broken connection.
  bool Succeeded(xcb_void_cookie_t cookie) const;
  // Returns once the server has handled every request sent before, with the
  // events and errors they caused queued on the client side.
  void RoundTrip() const;

  // The screen $DISPLAY names, and the screen whose root window this is
  // (null for none).
  const xcb_screen_t* DefaultScreen() const;
  const xcb_screen_t* ScreenOfRoot(xcb_window_t root) const;

 private:
  xcb_connection_t* connection_ = nullptr;
  int screenNumber_ = 0;
  int descriptor_ = -1;
};

// What the server's image format needs to know of a depth: null when the
// server has no pixmap format for it.
const xcb_format_t* PixmapFormatOfDepth(const xcb_setup_t* setup, uint8_t depth);
// A visual of the screen by its id, with its depth; null when the screen has
// no such visual.
const xcb_visualtype_t* FindVisual(const xcb_screen_t* screen, xcb_visualid_t id, uint8_t& depth);
// The screen's first TrueColor visual of the depth; null for none.
const xcb_visualtype_t* FindTrueColourVisual(const xcb_screen_t* screen, uint8_t depth);
