#pragma once

#include "platform/Colors.h"
#include "platform/Font.h"

#include <QColor>
#include <QFont>
#include <functional>
#include <optional>

class QWidget;

// The system's colour chooser with a colour of its own, black at first. Execute shows the chooser
// on that colour, modal; confirming makes the chosen colour (a plain $00BBGGRR value) the
// component's, cancelling keeps it. Returns whether the user confirmed.
class TColorDialog
{
public:
    explicit TColorDialog(QWidget *owner = nullptr) : m_owner(owner) {}

    TColor Color() const { return m_color; }
    void SetColor(TColor value) { m_color = value; }

    bool Execute();

    // The chooser's outcome for a starting colour: the chosen colour, or nothing when cancelled.
    using Chooser = std::function<std::optional<QColor>(const QColor &initial)>;
    // Tests answer in place of the user; an empty chooser brings the real one back.
    static void SetChooserForTesting(Chooser chooser);

private:
    QWidget *m_owner;
    TColor m_color = clBlack;
};

// The system's font chooser with a font of its own, "MS Sans Serif" with a character height of
// 11 pixels, regular. Execute shows the chooser preset with that font's face, size and style,
// modal; confirming takes the chosen face, size and style, cancelling keeps them. The colour is
// not the chooser's business. Returns whether the user confirmed.
class TFontDialog
{
public:
    explicit TFontDialog(QWidget *owner = nullptr) : m_owner(owner) {}

    TFont &Font() { return m_font; }
    const TFont &Font() const { return m_font; }

    bool Execute();

    // The chooser's outcome for a preset font (face, point size, style): the chosen font, or
    // nothing when cancelled.
    using Chooser = std::function<std::optional<QFont>(const QFont &initial)>;
    static void SetChooserForTesting(Chooser chooser);

private:
    QWidget *m_owner;
    TFont m_font;
};
