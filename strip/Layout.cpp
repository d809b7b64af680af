#include "strip/Layout.h"

#include "platform/Screen.h"
#include "strip/Settings.h"

std::vector<bool> LightOn(1025, false);

int RoundUpDiv(int a, int b)
{
    const int q = a / b;
    return q + ((a % b) > 0 ? 1 : 0);
}

int FullWidth()
{
    return GetSystemMetrics(SM_CXMAXIMIZED) - 8;
}

int StripWidth()
{
    const int full = FullWidth();
    return !FScreen && full >= BWidth ? BWidth : full;
}

int LightPitch()
{
    return (LShape == 2 ? LEDSize / 2 : LEDSize) * Spacing;
}

int LightCount()
{
    return RoundUpDiv(StripWidth(), LightPitch());
}

LightBoxes LightGeometry(int index)
{
    const int S = LEDSize;
    const int H = S / 2;
    const int x0 = index * LightPitch();
    if (LShape == 2)
        return {{x0 + 1, 1, x0 + H, S},
                {x0 + RoundUpDiv(S, 5), RoundUpDiv(S, 5), x0 + H - 2, S - 2},
                {x0 + RoundUpDiv(H, 3), RoundUpDiv(S, 3), x0 + RoundUpDiv(H, 2), RoundUpDiv(S, 2)}};
    return {{x0 + 1, 1, x0 + S, S},
            {x0 + RoundUpDiv(S, 5), RoundUpDiv(S, 5), x0 + S - 2, S - 2},
            {x0 + RoundUpDiv(S, 3), RoundUpDiv(S, 3), x0 + RoundUpDiv(S, 2), RoundUpDiv(S, 2)}};
}
