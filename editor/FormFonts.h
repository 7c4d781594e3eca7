// The fonts of a plug-in form's knobs and labels, fitted to the screen.
#pragma once

#include <vector>

class TComponent;
class TForm;

// Gives every knob, and every label not excluded, an 11-pixel font whose face
// suits the screen: "Arial" above 100 pixels per inch, where the bitmap face
// would look coarse, "MS Sans Serif" otherwise.
void FixFormFonts(TForm& form, const std::vector<const TComponent*>& exclusions);
