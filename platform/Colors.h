#pragma once

#include <QColor>
#include <cstdint>
#include <string>

// A colour as the program stores it: bytes $00BBGGRR for a plain colour; a value with the top bit
// set names a system colour by its low byte.
using TColor = int32_t;

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
constexpr TColor clSystemColor = TColor(0x80000000u);
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clNone = 0x1FFFFFFF;

// "clRed" for a named colour, else "$" and 8 upper-case hexadecimal digits.
std::string ColorToString(TColor color);
// A colour name in any case, else the text read as an integer; throws EConvertError.
TColor StringToColor(const std::string &text);

// What the screen shows for a colour: a system colour through the desktop's palette; any other
// value by its low three bytes.
QColor ColorToQColor(TColor color);
