#pragma once

// The settings store_writer saves in its round r, and the texts SaveStuff writes for them in the
// order it writes them, so a test knows what every completed write left in the store. Every round
// changes every value that can change.
#include "strip/Settings.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

using StoreTexts = std::vector<std::pair<std::string, std::string>>;

namespace rounds {
inline const std::pair<TFontStyles, const char *> styles[] = {
    {0, ""}, {fsBold, "b"}, {fsItalic, "i"}, {fsUnderline, "u"}, {fsStrikeOut, "s"},
    {fsBold | fsItalic, "bi"}, {fsBold | fsUnderline, "bu"}, {fsBold | fsStrikeOut, "bs"},
};
// No named colour has a top byte of 1 to 8.
inline TColor colour(int k, int r) { return TColor(0x01000000 * (k + 1) + (r & 0xFFFFFF)); }
inline std::string colourText(int k, int r)
{
    char text[10];
    std::snprintf(text, sizeof text, "$%08X", unsigned(colour(k, r)));
    return text;
}
inline bool boolean(int k, int r) { return (r + k) % 2 == 0; }
} // namespace rounds

// The window position stands for FLeft and FTop: save with SaveSettings(r, -r).
inline void SetRoundSettings(int r)
{
    using namespace rounds;
    OnTop = r % 3; FLeft = r; FTop = -r; Delay = r + 1; LShape = r % 3; PTimer = 1000 + r;
    LEDSize = 4 + r % 13; AlignInt = r % 2; Pattern = r % 4; Spacing = 1 + r % 20; BWidth = 32 + r % 2000;
    WarnFile = "/tmp/round " + std::to_string(r) + ".wav";
    WarnDir = "/tmp/" + std::to_string(r);
    WarnDrive = std::string(1, char('a' + r % 26));
    TColor *colours[] = {&LEDOnIn, &LEDOnOut, &LEDOffIn, &LEDOffOut, &HighLightOn, &HighLightOff, &BackC, &FormC};
    for (int k = 0; k < 8; ++k)
        *colours[k] = colour(k, r);
    bool *booleans[] = {&HighL, &PlayW, &HideF, &Sync, &Moveable, &FScreen};
    for (int k = 0; k < 6; ++k)
        *booleans[k] = boolean(k, r);
    DFont = "Font " + std::to_string(r);
    FSize = 8 + r % 30;
    FStyle = styles[r % 8].first;
}

inline StoreTexts RoundTexts(int r)
{
    using namespace rounds;
    const auto n = [](int v) { return std::to_string(v); };
    StoreTexts texts = {
        {"OnTop", n(r % 3)}, {"FLeft", n(r)}, {"FTop", n(-r)}, {"Delay", n(r + 1)}, {"LShape", n(r % 3)},
        {"PTimer", n(1000 + r)}, {"LEDSize", n(4 + r % 13)}, {"AlignInt", n(r % 2)}, {"Pattern", n(r % 4)},
        {"Spacing", n(1 + r % 20)}, {"BWidth", n(32 + r % 2000)},
        {"WarnFile", "/tmp/round " + n(r) + ".wav"}, {"WarnDir", "/tmp/" + n(r)},
        {"WarnDrive", std::string(1, char('a' + r % 26))},
    };
    const char *colourNames[] = {"LEDOnIn", "LEDOnOut", "LEDOffIn", "LEDOffOut", "HighLightOn", "HighLightOff", "BackC", "FormC"};
    for (int k = 0; k < 8; ++k)
        texts.push_back({colourNames[k], colourText(k, r)});
    const char *booleanNames[] = {"HighL", "PLayW", "HideF", "Sync", "Moveable", "FScreen"};
    for (int k = 0; k < 6; ++k)
        texts.push_back({booleanNames[k], boolean(k, r) ? "true" : "false"});
    texts.push_back({"DFont", "Font " + n(r)});
    texts.push_back({"FSize", n(8 + r % 30)});
    texts.push_back({"FStyle", styles[r % 8].second});
    return texts;
}
