// COLORREF values (0x00BBGGRR) and their conversion to Qt colours.
#pragma once

#include <QColor>

#include <cstdint>

using COLORREF = std::uint32_t;

constexpr COLORREF MakeRgb(int red, int green, int blue)
{
    return static_cast<COLORREF>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int RedOf(COLORREF color)
{
    return static_cast<int>(color & 0xFF);
}
constexpr int GreenOf(COLORREF color)
{
    return static_cast<int>((color >> 8) & 0xFF);
}
constexpr int BlueOf(COLORREF color)
{
    return static_cast<int>((color >> 16) & 0xFF);
}

inline QColor ToQColor(COLORREF color)
{
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

inline COLORREF FromQColor(const QColor& color)
{
    return MakeRgb(color.red(), color.green(), color.blue());
}
