#include "X11Connection.h"

#include <cstdlib>

TX11Connection::TX11Connection() {
  connection_ = xcb_connect(nullptr, &screenNumber_);
  // An error connection has no descriptor; -1 polls as nothing.
  if (!Broken()) descriptor_ = xcb_get_file_descriptor(connection_);
}

TX11Connection::~TX11Connection() {
  // Unsent requests are dropped here: owners that need them handled flush
  // (or round-trip) first. Also frees a connection that never worked.
  xcb_disconnect(connection_);
}

bool TX11Connection::Succeeded(xcb_void_cookie_t cookie) const {
  if (Broken()) return false;
  xcb_generic_error_t* error = xcb_request_check(connection_, cookie);
  std::free(error);
  return error == nullptr && !Broken();
}

void TX11Connection::RoundTrip() const {
  if (Broken()) return;
  std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

const xcb_screen_t* TX11Connection::DefaultScreen() const {
  if (Broken()) return nullptr;
  xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
  for (int i = 0; it.rem > 0; ++i, xcb_screen_next(&it)) {
    if (i == screenNumber_) return it.data;
  }
  return nullptr;
}

const xcb_screen_t* TX11Connection::ScreenOfRoot(xcb_window_t root) const {
  if (Broken()) return nullptr;
  for (xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection_)); it.rem > 0;
       xcb_screen_next(&it)) {
    if (it.data->root == root) return it.data;
  }
  return nullptr;
}

const xcb_format_t* PixmapFormatOfDepth(const xcb_setup_t* setup, uint8_t depth) {
  const xcb_format_t* formats = xcb_setup_pixmap_formats(setup);
  const int count = xcb_setup_pixmap_formats_length(setup);
  for (int i = 0; i < count; ++i) {
    if (formats[i].depth == depth) return &formats[i];
  }
  return nullptr;
}

const xcb_visualtype_t* FindVisual(const xcb_screen_t* screen, xcb_visualid_t id, uint8_t& depth) {
  for (xcb_depth_iterator_t d = xcb_screen_allowed_depths_iterator(screen); d.rem > 0; xcb_depth_next(&d)) {
    for (xcb_visualtype_iterator_t v = xcb_depth_visuals_iterator(d.data); v.rem > 0; xcb_visualtype_next(&v)) {
      if (v.data->visual_id == id) {
        depth = d.data->depth;
        return v.data;
      }
    }
  }
  return nullptr;
}

const xcb_visualtype_t* FindTrueColourVisual(const xcb_screen_t* screen, uint8_t depth) {
  for (xcb_depth_iterator_t d = xcb_screen_allowed_depths_iterator(screen); d.rem > 0; xcb_depth_next(&d)) {
    if (d.data->depth != depth) continue;
    for (xcb_visualtype_iterator_t v = xcb_depth_visuals_iterator(d.data); v.rem > 0; xcb_visualtype_next(&v)) {
      if (v.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR) return v.data;
    }
  }
  return nullptr;
}
