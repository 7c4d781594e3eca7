#include "FormFonts.h"

#include <algorithm>

#include "controls/RubberKnob.h"
#include "platform/Form.h"
#include "platform/Label.h"
#include "platform/Screen.h"

void FixFormFonts(TForm& form, const std::vector<const TComponent*>& exclusions) {
  const char* name = ScreenPixelsPerInch() > 100 ? "Arial" : "MS Sans Serif";
  for (TComponent* component : form.Components()) {
    auto* control = dynamic_cast<TGraphicControl*>(component);
    if (control == nullptr) continue;
    const bool isKnob = dynamic_cast<TRubberKnob*>(control) != nullptr;
    const bool isLabel = dynamic_cast<TLabel*>(control) != nullptr;
    if (!isKnob && !(isLabel && std::find(exclusions.begin(), exclusions.end(), component) == exclusions.end())) {
      continue;
    }
    TFont font = control->Font();
    font.Name = name;
    font.Height = -11;
    control->SetFont(font);
  }
}
