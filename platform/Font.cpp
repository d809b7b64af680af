#include "platform/Font.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <QPalette>
#include <QWidget>
#include <cstdlib>

namespace {
// a * b / c rounded half away from zero, as the design's point and pixel sizes were computed.
int mulDivRounded(int a, int b, int c)
{
    const long long product = (long long)a * b;
    const long long half = c / 2;
    return int(product >= 0 ? (product + half) / c : (product - half) / c);
}
} // namespace

TFont::TFont(QWidget *owner) : m_owner(owner)
{
    ApplyFont();
    ApplyColor();
}

void TFont::SetName(const QString &value)
{
    if (value.isEmpty() || value == m_name)
        return;
    m_name = value;
    ApplyFont();
}

int TFont::Size() const
{
    return mulDivRounded(m_height, 72, PixelsPerInch);
}

void TFont::SetSize(int points)
{
    SetHeight(mulDivRounded(points, PixelsPerInch, 72));
}

void TFont::SetHeight(int pixels)
{
    if (pixels == m_height)
        return;
    m_height = pixels;
    ApplyFont();
}

void TFont::SetStyle(TFontStyles value)
{
    if (value == m_style)
        return;
    m_style = value;
    ApplyFont();
}

void TFont::SetColor(TColor value)
{
    if (value == m_color)
        return;
    m_color = value;
    ApplyColor();
}

QString TFont::ScreenFace(const QString &name)
{
    static QHash<QString, QString> faces;
    auto known = faces.constFind(name);
    if (known != faces.constEnd())
        return *known;
    QString face = name;
    const QStringList families = QFontDatabase::families();
    if (!families.contains(name, Qt::CaseInsensitive)) {
        // The Windows dialog faces are as wide as Arial, so a face with Arial's metrics keeps the
        // captions within their design widths; otherwise whatever fontconfig makes of the generic
        // family is the closest the system has.
        face.clear();
        for (const QString &narrow : {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")})
            if (families.contains(narrow, Qt::CaseInsensitive) && face.isEmpty())
                face = narrow;
        if (face.isEmpty()) {
            QFont generic(QStringLiteral("sans-serif"));
            generic.setStyleHint(QFont::SansSerif);
            face = QFontInfo(generic).family();
        }
    }
    faces.insert(name, face);
    return face;
}

QFont TFont::ToQFont() const
{
    QFont font(ScreenFace(m_name));
    font.setPixelSize(m_height > 0 ? m_height : 1);
    font.setBold(m_style & fsBold);
    font.setItalic(m_style & fsItalic);
    font.setUnderline(m_style & fsUnderline);
    font.setStrikeOut(m_style & fsStrikeOut);
    return font;
}

void TFont::ApplyFont()
{
    if (m_owner)
        m_owner->setFont(ToQFont());
}

void TFont::ApplyColor()
{
    if (!m_owner)
        return;
    // Labels, check boxes and group captions draw with WindowText, edits and lists with Text,
    // buttons with ButtonText; each control sets all three so no parent's colour leaks into it,
    // while its own inner parts (a radio group's items) take it.
    const QColor color = ColorToQColor(m_color);
    QPalette palette = m_owner->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, color);
        palette.setColor(group, QPalette::Text, color);
        palette.setColor(group, QPalette::ButtonText, color);
    }
    m_owner->setPalette(palette);
}
