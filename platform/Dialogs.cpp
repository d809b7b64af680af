#include "platform/Dialogs.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QWidget>

namespace {
TColorDialog::Chooser colorChooserForTesting;
TFontDialog::Chooser fontChooserForTesting;

QWidget *windowOf(QWidget *owner)
{
    return owner ? owner->window() : nullptr;
}
} // namespace

bool TColorDialog::Execute()
{
    const QColor initial = ColorToQColor(m_color);
    std::optional<QColor> chosen;
    if (colorChooserForTesting) {
        chosen = colorChooserForTesting(initial);
    } else {
        QColorDialog dialog(initial, windowOf(m_owner));
        if (dialog.exec() == QDialog::Accepted)
            chosen = dialog.selectedColor();
    }
    if (!chosen || !chosen->isValid())
        return false;
    const QColor rgb = chosen->toRgb();
    m_color = TColor(rgb.red() | rgb.green() << 8 | rgb.blue() << 16);
    return true;
}

void TColorDialog::SetChooserForTesting(Chooser chooser)
{
    colorChooserForTesting = std::move(chooser);
}

bool TFontDialog::Execute()
{
    QFont initial(TFont::ScreenFace(m_font.Name()));
    initial.setPointSize(qMax(1, m_font.Size()));
    initial.setBold(m_font.Style() & fsBold);
    initial.setItalic(m_font.Style() & fsItalic);
    initial.setUnderline(m_font.Style() & fsUnderline);
    initial.setStrikeOut(m_font.Style() & fsStrikeOut);

    std::optional<QFont> chosen;
    if (fontChooserForTesting) {
        chosen = fontChooserForTesting(initial);
    } else {
        QFontDialog dialog(initial, windowOf(m_owner));
        if (dialog.exec() == QDialog::Accepted)
            chosen = dialog.selectedFont();
    }
    if (!chosen)
        return false;
    m_font.SetName(chosen->family());
    if (chosen->pointSize() > 0)
        m_font.SetSize(chosen->pointSize());
    else if (chosen->pixelSize() > 0)
        m_font.SetHeight(chosen->pixelSize());
    TFontStyles style = 0;
    if (chosen->bold())
        style |= fsBold;
    if (chosen->italic())
        style |= fsItalic;
    if (chosen->underline())
        style |= fsUnderline;
    if (chosen->strikeOut())
        style |= fsStrikeOut;
    m_font.SetStyle(style);
    return true;
}

void TFontDialog::SetChooserForTesting(Chooser chooser)
{
    fontChooserForTesting = std::move(chooser);
}
