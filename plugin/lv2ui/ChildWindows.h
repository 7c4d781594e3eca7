// The X11 windows directly inside a window, asked of the server on a
// connection of its own. The LV2 editor hands the host the id of the window
// the form made inside the host's, and the window back end does not say.
#pragma once

#include <cstdint>
#include <vector>

// Bottom to top; empty when there is no server or no such window.
std::vector<uint32_t> ChildWindows(uint32_t parent);
