#include "ChildWindows.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

std::vector<uint32_t> ChildWindows(uint32_t parent) {
  std::vector<uint32_t> children;
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection) == 0) {
    const xcb_query_tree_cookie_t cookie = xcb_query_tree(connection, parent);
    std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> reply(
        xcb_query_tree_reply(connection, cookie, nullptr), &std::free);
    if (reply != nullptr) {
      const xcb_window_t* first = xcb_query_tree_children(reply.get());
      children.assign(first, first + xcb_query_tree_children_length(reply.get()));
    }
  }
  xcb_disconnect(connection);
  return children;
}
