// --list: what a plug-in says about itself, for a person to read.
#pragma once

#include <string>

namespace render {

class PluginSession;

std::string ListReport(PluginSession& session);

}  // namespace render
