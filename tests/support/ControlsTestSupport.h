// Shared scaffolding for the control tests: a form on a headless window, the
// built-in font, and simple pictures to give the controls.
#pragma once

#include <memory>
#include <string>

#include "platform/Form.h"
#include "platform/HeadlessWindow.h"
#include "platform/Image.h"

// A form of the given size on a headless window, text in the built-in font.
struct TTestForm {
  TTestForm(int32_t width, int32_t height);
  TForm form;
  THeadlessWindow* window;
};

// A hidden image component on the form holding a bitmap.
TImage* MakeImage(TForm& form, const TBitmap& bitmap, bool transparent = false);

TBitmap SolidBitmap(int32_t width, int32_t height, TColour colour);
// A round body on white: a dark ring round a coloured cap.
TBitmap BodyBitmap(int32_t size, TColour cap);
// A small round dot on white.
TBitmap DotBitmap(int32_t size, TColour colour);

// The smallest rectangle holding every pixel of the colour; empty if none.
TRect InkBox(const TBitmap& bitmap, TColour colour, const TRect& area);
TRect InkBox(const TBitmap& bitmap, TColour colour);
int32_t CountPixels(const TBitmap& bitmap, TColour colour);
