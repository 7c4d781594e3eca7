// Colour values 0x00BBGGRR (red in the low byte). Values with the high byte set
// name a system colour and become RGB only through ColourToRGB.
#pragma once

#include <cstdint>

using TColour = uint32_t;

constexpr TColour clBlack = 0x000000;
constexpr TColour clWhite = 0xFFFFFF;
constexpr TColour clGray = 0x808080;
constexpr TColour clSilver = 0xC0C0C0;
constexpr TColour clRed = 0x0000FF;
constexpr TColour clBlue = 0xFF0000;

constexpr TColour clSystemColour = 0x80000000;
constexpr TColour clWindowText = clSystemColour | 8;
constexpr TColour clBtnFace = clSystemColour | 15;
constexpr TColour clBtnShadow = clSystemColour | 16;
constexpr TColour clBtnHighlight = clSystemColour | 20;

constexpr uint8_t RedOf(TColour c) { return static_cast<uint8_t>(c); }
constexpr uint8_t GreenOf(TColour c) { return static_cast<uint8_t>(c >> 8); }
constexpr uint8_t BlueOf(TColour c) { return static_cast<uint8_t>(c >> 16); }
constexpr TColour MakeColour(uint32_t red, uint32_t green, uint32_t blue) {
  return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}

// Resolves system colours through the platform; plain colours lose any stray
// bits above 24.
TColour ColourToRGB(TColour colour);
