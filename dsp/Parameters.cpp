#include "Parameters.h"

const ParameterInfo kParameters[kNumParameters] = {
    {"Bass Mode? ", 1.0f, DisplayRule::YesNo, 1.0f},    {"Cutoff     ", 0.25f, DisplayRule::CutoffHz, 1.0f},
    {"Delay      ", 0.56f, DisplayRule::Scaled, 20.0f},  // milliseconds
    {"Width      ", 0.5f, DisplayRule::Scaled, 10.0f},  {"Rate       ", 0.5f, DisplayRule::Scaled, 10.0f},
    {"Feedback   ", 0.25f, DisplayRule::Scaled, 1.0f},  {"Stereo Mode", 0.6f, DisplayRule::ChannelMode, 1.0f},
    {"Anti-alias?", 1.0f, DisplayRule::YesNo, 1.0f},    {"Mix        ", 1.0f, DisplayRule::Scaled, 1.0f},
};

const char kParameterLabel[] = "        ";

const char* const kChannelModeNames[4] = {"Mono    ", "Stereo  ", "Dual    ", "Haas    "};
