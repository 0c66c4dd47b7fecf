#pragma once

#include <QColor>
#include <QRect>

#include <cstdint>

// The window is laid out in twips; at 96 dpi fifteen of them make one logical pixel.
inline constexpr int TwipsPerPixel = 15;

constexpr int pixels(int twips) {
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}

inline QRect pixel_rect(int left, int top, int width, int height) {
    return {pixels(left), pixels(top), pixels(width), pixels(height)};
}

// Colours are written BBGGRR: blue in the high byte, red in the low one.
inline QColor color_from_bbggrr(std::uint32_t bbggrr) {
    return QColor(int(bbggrr & 0xFF), int((bbggrr >> 8) & 0xFF), int((bbggrr >> 16) & 0xFF));
}
