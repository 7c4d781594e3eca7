#include "DesignFrame.h"

void DrawDesignFrame(TCanvas& canvas, int32_t width, int32_t height) {
  const TPoint corners[] = {{0, 0}, {width - 1, 0}, {width - 1, height - 1}, {0, height - 1}, {0, 0}};
  canvas.DottedPolyline(corners, 5, clBlack);
}
