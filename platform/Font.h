#pragma once

#include "platform/Colors.h"

#include <QFont>
#include <QString>
#include <cstdint>

class QWidget;

// A font's style set in one byte.
using TFontStyles = uint8_t;
enum : TFontStyles { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// The font of one control: face, size, style and text colour. Every change shows on the control at
// once. The layouts are in fixed logical pixels, so points turn into pixels at 96 per inch, as the
// layouts were designed. A face the system lacks ("MS Sans Serif" on Linux) is drawn in the
// system's sans-serif face at the same pixel height; Name still reports the face that was set.
class TFont
{
public:
    static constexpr int PixelsPerInch = 96;

    // Without an owner the font only holds its values (a chooser's font).
    explicit TFont(QWidget *owner = nullptr);
    TFont(const TFont &) = delete;
    TFont &operator=(const TFont &) = delete;

    QString Name() const { return m_name; }
    // An empty name leaves the face as it is.
    void SetName(const QString &value);
    // Points, rounded from the pixel height.
    int Size() const;
    void SetSize(int points);
    // The character height in pixels.
    int Height() const { return m_height; }
    void SetHeight(int pixels);
    TFontStyles Style() const { return m_style; }
    void SetStyle(TFontStyles value);
    // The text colour; it belongs to this control alone.
    TColor Color() const { return m_color; }
    void SetColor(TColor value);

    // What the screen draws with.
    QFont ToQFont() const;
    // The face drawn for a face name: the name itself when the system has it, else its sans-serif.
    static QString ScreenFace(const QString &name);

private:
    void ApplyFont();
    void ApplyColor();

    QWidget *m_owner;
    QString m_name = QStringLiteral("MS Sans Serif");
    int m_height = 11;
    TFontStyles m_style = 0;
    TColor m_color = clWindowText;
};
