#include "strip/Settings.h"

#include "platform/Convert.h"
#include "platform/Registry.h"

#include <algorithm>
#include <array>

std::string DFont;
int FSize;
TFontStyles FStyle;
int OnTop, FLeft, FTop, Delay, LShape, PTimer, LEDSize, AlignInt, Pattern, Spacing, BWidth;
std::string WarnFile, WarnDir, WarnDrive;
TColor LEDOnIn, LEDOnOut, LEDOffIn, LEDOffOut, HighLightOn, HighLightOff, BackC, FormC;
bool HighL, PlayW, HideF, Sync, Moveable, FScreen;
std::string RegText;

const QString KeyPath = QStringLiteral("Software\\Orsolen\\Lights");

namespace {

enum class Kind { Integer, Colour, Boolean, FontStyle, Text };

struct Setting
{
    const char *name;
    Kind kind;
    void *variable;
    const char *defaultText; // nullptr: the full width in decimal
    const char *loadName;
    const char *saveName;
};

// Every setting once, in the order of the load. SaveStuff writes them in the same order but starts
// at "OnTop", so the dialog font comes last; five names are spelled differently by the two.
const std::array<Setting, 31> settings{{
    {"DFont", Kind::Text, &DFont, "", "DFont", "DFont"},
    {"FSize", Kind::Integer, &FSize, "8", "FSize", "FSize"},
    {"FStyle", Kind::FontStyle, &FStyle, "", "FStyle", "FStyle"},
    {"OnTop", Kind::Integer, &OnTop, "1", "OnTop", "OnTop"},
    {"FLeft", Kind::Integer, &FLeft, "0", "FLeft", "FLeft"},
    {"FTop", Kind::Integer, &FTop, "0", "FTop", "FTop"},
    {"Delay", Kind::Integer, &Delay, "1", "Delay", "Delay"},
    {"LShape", Kind::Integer, &LShape, "0", "LShape", "LShape"},
    {"PTimer", Kind::Integer, &PTimer, "1000", "PTimer", "PTimer"},
    {"LEDSize", Kind::Integer, &LEDSize, "16", "LEDSize", "LEDSize"},
    {"AlignInt", Kind::Integer, &AlignInt, "0", "AlignInt", "AlignInt"},
    {"Pattern", Kind::Integer, &Pattern, "0", "Pattern", "Pattern"},
    {"Spacing", Kind::Integer, &Spacing, "1", "Spacing", "Spacing"},
    {"BWidth", Kind::Integer, &BWidth, nullptr, "BWidth", "BWidth"},
    {"WarnFile", Kind::Text, &WarnFile, "", "WarnFile", "WarnFile"},
    {"WarnDir", Kind::Text, &WarnDir, "", "WarnDir", "WarnDir"},
    {"WarnDrive", Kind::Text, &WarnDrive, "", "WarnDrive", "WarnDrive"},
    {"LEDOnIn", Kind::Colour, &LEDOnIn, "clRed", "LedOnIn", "LEDOnIn"},
    {"LEDOnOut", Kind::Colour, &LEDOnOut, "clMaroon", "LedOnOut", "LEDOnOut"},
    {"LEDOffIn", Kind::Colour, &LEDOffIn, "$00000055", "LedOffIn", "LEDOffIn"},
    {"LEDOffOut", Kind::Colour, &LEDOffOut, "$11111122", "LedOffOut", "LEDOffOut"},
    {"HighLightOn", Kind::Colour, &HighLightOn, "clWhite", "HighLightOn", "HighLightOn"},
    {"HighLightOff", Kind::Colour, &HighLightOff, "clSilver", "HighLightOff", "HighLightOff"},
    {"BackC", Kind::Colour, &BackC, "clBlack", "BackC", "BackC"},
    {"FormC", Kind::Colour, &FormC, "clGray", "FormC", "FormC"},
    {"HighL", Kind::Boolean, &HighL, "true", "HighL", "HighL"},
    {"PlayW", Kind::Boolean, &PlayW, "false", "PlayW", "PLayW"},
    {"HideF", Kind::Boolean, &HideF, "false", "HideF", "HideF"},
    {"Sync", Kind::Boolean, &Sync, "false", "Sync", "Sync"},
    {"Moveable", Kind::Boolean, &Moveable, "false", "Moveable", "Moveable"},
    {"FScreen", Kind::Boolean, &FScreen, "true", "FScreen", "FScreen"},
}};
constexpr size_t firstSaved = 3; // "OnTop"

constexpr std::array<std::pair<TFontStyles, const char *>, 7> styleTexts{{
    {fsBold, "b"}, {fsItalic, "i"}, {fsUnderline, "u"}, {fsStrikeOut, "s"},
    {fsBold | fsItalic, "bi"}, {fsBold | fsUnderline, "bu"}, {fsBold | fsStrikeOut, "bs"},
}};

std::string defaultText(const Setting &s, int fullWidth)
{
    return s.defaultText ? s.defaultText : IntToStr(fullWidth);
}

void assign(const Setting &s, const std::string &text)
{
    switch (s.kind) {
    case Kind::Integer: *static_cast<int *>(s.variable) = StrToInt(text); break;
    case Kind::Colour: *static_cast<TColor *>(s.variable) = StringToColor(text); break;
    case Kind::Boolean: *static_cast<bool *>(s.variable) = TextToBool(text); break;
    case Kind::FontStyle: *static_cast<TFontStyles *>(s.variable) = TextToStyle(text); break;
    case Kind::Text: *static_cast<std::string *>(s.variable) = text; break;
    }
}

std::string textOf(const Setting &s)
{
    switch (s.kind) {
    case Kind::Integer: return IntToStr(*static_cast<const int *>(s.variable));
    case Kind::Colour: return ColorToString(*static_cast<const TColor *>(s.variable));
    case Kind::Boolean: return BoolToText(*static_cast<const bool *>(s.variable));
    case Kind::FontStyle: return StyleToText(*static_cast<const TFontStyles *>(s.variable));
    case Kind::Text: return *static_cast<const std::string *>(s.variable);
    }
    return {};
}

} // namespace

std::string ReadRegString(const QString &keyPath, const std::string &valueName, const std::string &defaultText)
{
    TRegistry registry;
    registry.OpenKey(keyPath, true);
    std::string result = defaultText;
    if (registry.ValueExists(valueName))
        result = registry.ReadString(valueName);
    registry.CloseKey();
    return result;
}

void WriteRegString(const QString &keyPath, const std::string &valueName, const std::string &text)
{
    TRegistry registry;
    registry.OpenKey(keyPath, true);
    registry.WriteString(valueName, text);
    registry.CloseKey();
}

std::string BoolToText(bool value)
{
    return value ? "true" : "false";
}

bool TextToBool(const std::string &text)
{
    return text == "true";
}

std::string StyleToText(TFontStyles style)
{
    for (const auto &[set, text] : styleTexts)
        if (set == style)
            return text;
    return {};
}

TFontStyles TextToStyle(const std::string &text)
{
    for (const auto &[set, styleText] : styleTexts)
        if (text == styleText)
            return set;
    return 0;
}

void SetDefaultSettings(int fullWidth)
{
    for (const Setting &s : settings)
        assign(s, defaultText(s, fullWidth));
}

void LoadSettings(int fullWidth)
{
    SetDefaultSettings(fullWidth);

    // A Boolean left in "OnTop" becomes the z-order choice "None".
    RegText = ReadRegString(KeyPath, "OnTop", "1");
    if (RegText == "false" || RegText == "true")
        WriteRegString(KeyPath, "OnTop", "1");

    for (const Setting &s : settings) {
        const std::string text = ReadRegString(KeyPath, s.loadName, defaultText(s, fullWidth));
        if (s.kind == Kind::Boolean)
            RegText = text;
        assign(s, text);
    }
}

void CorrectSettingRanges()
{
    LEDSize = std::clamp(LEDSize, 4, 16);
    Spacing = std::clamp(Spacing, 1, 20);
    BWidth = std::clamp(BWidth, 32, 2048);
    Delay = std::clamp(Delay, 1, 3600000);
    PTimer = std::clamp(PTimer, 1, 3600000);
    if (LShape < 0 || LShape > 2)
        LShape = 0;
    if (Pattern < 0 || Pattern > 3)
        Pattern = 0;
}

void SaveSettings(int windowLeft, int windowTop)
{
    for (size_t n = 0; n < settings.size(); ++n) {
        const Setting &s = settings[(firstSaved + n) % settings.size()];
        std::string text = textOf(s);
        if (s.variable == &FLeft)
            text = IntToStr(windowLeft);
        else if (s.variable == &FTop)
            text = IntToStr(windowTop);
        WriteRegString(KeyPath, s.saveName, text);
    }
}

void ApplyDialogFont(std::initializer_list<TFont *> targets, const TFont *keepsItsStyle)
{
    const QString face = DisplayText(DFont);
    for (TFont *font : targets) {
        font->SetName(face);
        font->SetSize(FSize);
        if (font != keepsItsStyle)
            font->SetStyle(FStyle);
    }
}
