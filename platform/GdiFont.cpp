// Text through GDI: the real "MS Sans Serif" and "Arial". Glyphs are drawn
// white on black into a private DIB and read back as coverage, so the result
// goes through the same pixel path as the other engines.
#include <windows.h>

#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

#include "platform/FontEngine.h"

namespace {

class TGdiFontEngine final : public TFontEngine {
 public:
  TGdiFontEngine() : dc_(CreateCompatibleDC(nullptr)) {}

  ~TGdiFontEngine() override {
    for (auto& entry : fonts_) DeleteObject(entry.second);
    if (dc_ != nullptr) DeleteDC(dc_);
  }

  TGdiFontEngine(const TGdiFontEngine&) = delete;
  TGdiFontEngine& operator=(const TGdiFontEngine&) = delete;

  TTextExtent Measure(const TFont& font, std::string_view text) override {
    std::lock_guard<std::mutex> lock(mutex_);
    return MeasureLocked(font, text);
  }

  void Rasterise(const TFont& font, std::string_view text, const TGlyphPixelSink& sink) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (dc_ == nullptr || text.empty()) return;
    const TTextExtent extent = MeasureLocked(font, text);
    // Bold and italic glyphs may overhang their advance; leave room around them.
    const int32_t margin = extent.Height / 2 + 2;
    const int32_t width = extent.Width + 2 * margin;
    const int32_t height = extent.Height;
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib == nullptr || bits == nullptr) return;
    std::memset(bits, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);

    HGDIOBJ oldBitmap = SelectObject(dc_, dib);
    HGDIOBJ oldFont = SelectObject(dc_, FontFor(font));
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, RGB(255, 255, 255));
    TextOutA(dc_, margin, 0, text.data(), static_cast<int>(text.size()));
    GdiFlush();

    const auto* pixels = static_cast<const uint32_t*>(bits);
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        if ((pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] & 0xFFFFFF) != 0) {
          sink(x - margin, y);
        }
      }
    }
    SelectObject(dc_, oldFont);
    SelectObject(dc_, oldBitmap);
    DeleteObject(dib);
  }

 private:
  TTextExtent MeasureLocked(const TFont& font, std::string_view text) {
    if (dc_ == nullptr) return {};
    HGDIOBJ old = SelectObject(dc_, FontFor(font));
    SIZE size{};
    GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
    if (text.empty()) {
      TEXTMETRICA metrics{};
      GetTextMetricsA(dc_, &metrics);
      size.cy = metrics.tmHeight;
    }
    SelectObject(dc_, old);
    return {size.cx, size.cy};
  }

  HFONT FontFor(const TFont& font) {
    const auto key = std::make_tuple(font.Name, font.Height, font.Bold);
    auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second;
    HFONT handle = CreateFontA(font.Height, 0, 0, 0, font.Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, font.Name.c_str());
    if (handle == nullptr) handle = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    fonts_.emplace(key, handle);
    return handle;
  }

  std::mutex mutex_;
  HDC dc_;
  std::map<std::tuple<std::string, int32_t, bool>, HFONT> fonts_;
};

}  // namespace

TFontEngine& NativeFontEngine() {
  static TGdiFontEngine engine;
  return engine;
}
