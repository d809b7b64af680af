#pragma once

#include "platform/Canvas.h"

#include <vector>

// ⌈a ÷ b⌉ for b > 0: the integer part, plus one when a positive fraction remains.
int RoundUpDiv(int a, int b);

// The maximised width of the primary display less its border: the widest the strip can be.
int FullWidth();
// The strip's width: the full width, or BWidth when FScreen is off and BWidth is not larger.
int StripWidth();
// Pixels from the left edge of one light to the left edge of the next.
int LightPitch();
// Light positions shown: ⌈StripWidth ÷ LightPitch⌉.
int LightCount();

// The three parts of the light at a 0-based position, in the picture's pixels.
struct LightBoxes
{
    TRect Outer, Inner, Highlight;
};
LightBoxes LightGeometry(int index);

// Whether each light position is drawn lit; at least 1025 entries, and one for every position the
// strip can show.
extern std::vector<bool> LightOn;
