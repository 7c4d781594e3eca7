// The layout of pixels as the server reads them from an image request: the
// pixmap format's bits per pixel and row padding, in the server's byte order.
// XCB passes image bytes on as they are, so they are written in that layout
// here; and a request may not exceed the server's maximum length, so larger
// areas go out in strips of rows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/Colour.h"
#include "platform/x11/X11PixelFormat.h"

class TX11ImageFormat {
 public:
  TX11ImageFormat(int bitsPerPixel, int scanlinePad, bool leastSignificantFirst);

  // False for layouts these writers do not serve (bits per pixel other than
  // 8, 16, 24 or 32, or a padding that is no whole number of bytes).
  bool Usable() const { return usable_; }
  int BitsPerPixel() const { return bitsPerPixel_; }
  // Bytes of a row of `width` pixels, padding included.
  size_t BytesPerLine(int32_t width) const;
  // This machine's own 32-bit words: a row converts straight into them.
  bool Native32() const;
  // `count` colours as pixels of the visual, into the row at `target`.
  void StoreRow(const TX11PixelFormat& pixels, const TColour* source, int32_t count, uint8_t* target) const;

 private:
  int bitsPerPixel_;
  int scanlinePad_;
  bool leastSignificantFirst_;
  bool usable_ = false;
};

// Rows of `bytesPerLine` that one image request carries under the server's
// maximum request length in bytes; 0 when not even one fits.
int32_t RowsPerImageRequest(uint64_t maximumRequestBytes, size_t bytesPerLine);
