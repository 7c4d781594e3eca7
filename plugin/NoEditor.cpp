// The module without an editor: the plug-in as the signal-path tests, the
// benchmarks and the fuzz target drive it, with no window code linked in.
#include "dsp/Ondrel.h"

TAudioEffect* createEffectInstance(audioMasterCallback audioMaster) { return new TOndrel(audioMaster); }
