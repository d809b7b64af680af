#pragma once

#include <cstdint>

// A font's style set in one byte.
using TFontStyles = uint8_t;
enum : TFontStyles { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
