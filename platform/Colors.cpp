#include "platform/Colors.h"

#include "platform/Convert.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>
#include <cstdio>
#include <strings.h>

namespace {

struct NamedColor
{
    TColor value;
    const char *name;
};

constexpr TColor sys(int n) { return TColor(0x80000000u | unsigned(n)); }

constexpr std::array<NamedColor, 42> namedColors{{
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {sys(0), "clScrollBar"}, {sys(1), "clBackground"}, {sys(2), "clActiveCaption"},
    {sys(3), "clInactiveCaption"}, {sys(4), "clMenu"}, {sys(5), "clWindow"},
    {sys(6), "clWindowFrame"}, {sys(7), "clMenuText"}, {sys(8), "clWindowText"},
    {sys(9), "clCaptionText"}, {sys(10), "clActiveBorder"}, {sys(11), "clInactiveBorder"},
    {sys(12), "clAppWorkSpace"}, {sys(13), "clHighlight"}, {sys(14), "clHighlightText"},
    {sys(15), "clBtnFace"}, {sys(16), "clBtnShadow"}, {sys(17), "clGrayText"},
    {sys(18), "clBtnText"}, {sys(19), "clInactiveCaptionText"}, {sys(20), "clBtnHighlight"},
    {sys(21), "cl3DDkShadow"}, {sys(22), "cl3DLight"}, {sys(23), "clInfoText"},
    {sys(24), "clInfoBk"}, {clNone, "clNone"},
}};

// The palette role nearest in meaning to each of the 25 system colours, in index order.
struct SystemRole
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};
constexpr std::array<SystemRole, 25> systemRoles{{
    {QPalette::Active, QPalette::Button},            // clScrollBar
    {QPalette::Active, QPalette::Dark},              // clBackground (the desktop)
    {QPalette::Active, QPalette::Highlight},         // clActiveCaption
    {QPalette::Inactive, QPalette::Button},          // clInactiveCaption
    {QPalette::Active, QPalette::Window},            // clMenu
    {QPalette::Active, QPalette::Base},              // clWindow
    {QPalette::Active, QPalette::Shadow},            // clWindowFrame
    {QPalette::Active, QPalette::WindowText},        // clMenuText
    {QPalette::Active, QPalette::Text},              // clWindowText
    {QPalette::Active, QPalette::HighlightedText},   // clCaptionText
    {QPalette::Active, QPalette::Window},            // clActiveBorder
    {QPalette::Inactive, QPalette::Window},          // clInactiveBorder
    {QPalette::Active, QPalette::Mid},               // clAppWorkSpace
    {QPalette::Active, QPalette::Highlight},         // clHighlight
    {QPalette::Active, QPalette::HighlightedText},   // clHighlightText
    {QPalette::Active, QPalette::Button},            // clBtnFace
    {QPalette::Active, QPalette::Dark},              // clBtnShadow
    {QPalette::Disabled, QPalette::Text},            // clGrayText
    {QPalette::Active, QPalette::ButtonText},        // clBtnText
    {QPalette::Inactive, QPalette::ButtonText},      // clInactiveCaptionText
    {QPalette::Active, QPalette::Light},             // clBtnHighlight
    {QPalette::Active, QPalette::Shadow},            // cl3DDkShadow
    {QPalette::Active, QPalette::Midlight},          // cl3DLight
    {QPalette::Active, QPalette::ToolTipText},       // clInfoText
    {QPalette::Active, QPalette::ToolTipBase},       // clInfoBk
}};

} // namespace

std::string ColorToString(TColor color)
{
    for (const auto &named : namedColors)
        if (named.value == color)
            return named.name;
    char text[10];
    std::snprintf(text, sizeof text, "$%08X", unsigned(color));
    return text;
}

TColor StringToColor(const std::string &text)
{
    for (const auto &named : namedColors)
        if (strcasecmp(named.name, text.c_str()) == 0 && text.size() == std::char_traits<char>::length(named.name))
            return named.value;
    return StrToInt(text);
}

QColor ColorToQColor(TColor color)
{
    if (color < 0) {
        const unsigned index = unsigned(color) & 0xFF;
        if (index >= systemRoles.size())
            return Qt::black;
        const SystemRole r = systemRoles[index];
        return QGuiApplication::palette().color(r.group, r.role);
    }
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}
