// The VST 2 plug-in's editor: the editor object working on the plug-in's own
// parameters. What the module, the editor tests and the snapshot tool hand to
// TOndrel.
#pragma once

#include "dsp/Ondrel.h"

TOndrelEditorLink* CreateOndrelEditor(TOndrel* plugin);
