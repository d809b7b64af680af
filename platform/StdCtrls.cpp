#include "platform/StdCtrls.h"

#include "platform/Application.h"

#include <QButtonGroup>
#include <QEvent>
#include <QPainter>
#include <QRadioButton>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>

namespace {
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clBtnHighlight = clSystemColor | 20;
} // namespace

TLabel::TLabel(QWidget *parent) : QLabel(parent), TControl(this)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TLabel::SetCaption(const QString &value)
{
    if (value == text())
        return;
    setText(value);
    FitText();
}

void TLabel::SetAutoSize(bool value)
{
    if (value == m_autoSize)
        return;
    m_autoSize = value;
    FitText();
}

void TLabel::SetBounds(int left, int top, int width, int height)
{
    TControl::SetBounds(left, top, width, height);
    FitText();
}

void TLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        FitText();
}

void TLabel::FitText()
{
    if (m_autoSize)
        resize(sizeHint());
}

TButton::TButton(QWidget *parent) : QPushButton(parent), TControl(this)
{
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] {
        if (OnClick)
            Guard([&] { OnClick(this); });
    });
}

TBitBtn::TBitBtn(QWidget *parent, TBitBtnKind kind) : TButton(parent)
{
    SetKind(kind);
}

void TBitBtn::SetKind(TBitBtnKind value)
{
    if (value == m_kind)
        return;
    m_kind = value;
    if (value == bkOK) {
        setText(QStringLiteral("OK"));
        setIcon(style()->standardIcon(QStyle::SP_DialogOkButton, nullptr, this));
    }
}

TCheckBox::TCheckBox(QWidget *parent) : QCheckBox(parent), TControl(this)
{
    connect(this, &QCheckBox::toggled, this, [this] {
        if (OnClick)
            Guard([&] { OnClick(this); });
    });
}

void TCheckBox::SetChecked(bool value)
{
    if (value == isChecked())
        return;
    setChecked(value);
}

TGroupBox::TGroupBox(QWidget *parent) : QGroupBox(parent), TControl(this) {}

TRadioGroup::TRadioGroup(QWidget *parent) : QGroupBox(parent), TControl(this), m_group(new QButtonGroup(this))
{
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (m_showing || !checked || id == m_itemIndex)
            return;
        m_itemIndex = id;
        if (OnClick)
            Guard([&] { OnClick(this); });
    });
}

void TRadioGroup::SetItems(const QStringList &value)
{
    if (value == m_items)
        return;
    m_items = value;
    qDeleteAll(m_buttons);
    m_buttons.clear();
    for (int i = 0; i < m_items.size(); ++i) {
        auto *button = new QRadioButton(m_items[i], this);
        m_group->addButton(button, i);
        m_buttons << button;
        button->setVisible(true);
    }
    if (m_itemIndex >= m_items.size())
        m_itemIndex = -1;
    ShowChoice();
    ArrangeItems();
}

void TRadioGroup::SetItemIndex(int value)
{
    value = std::clamp(value, -1, int(m_items.size()) - 1);
    if (value == m_itemIndex)
        return;
    m_itemIndex = value;
    ShowChoice();
    if (OnClick)
        Guard([&] { OnClick(this); });
}

void TRadioGroup::ShowChoice()
{
    m_showing = true;
    // An exclusive group cannot uncheck its last checked item.
    m_group->setExclusive(false);
    for (int i = 0; i < m_buttons.size(); ++i)
        m_buttons[i]->setChecked(i == m_itemIndex);
    m_group->setExclusive(true);
    m_showing = false;
}

void TRadioGroup::ArrangeItems()
{
    const int count = m_buttons.size();
    if (count == 0)
        return;
    // Below the caption, the items share the height evenly; what does not divide goes half
    // above, half below.
    const int captionHeight = fontMetrics().height();
    const int area = qMax(0, height() - captionHeight - 5);
    const int itemHeight = area / count;
    const int top = captionHeight + 1 + (area % count) / 2;
    for (int i = 0; i < count; ++i)
        m_buttons[i]->setGeometry(8, top + i * itemHeight, qMax(0, width() - 10), itemHeight);
}

void TRadioGroup::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    ArrangeItems();
}

void TRadioGroup::changeEvent(QEvent *event)
{
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        ArrangeItems();
}

TPanel::TPanel(QWidget *parent) : QWidget(parent), TControl(this)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    ApplyColor();
}

void TPanel::SetColor(TColor value)
{
    if (value == m_color)
        return;
    m_color = value;
    ApplyColor();
}

void TPanel::ApplyColor()
{
    // Transparent children (labels, check boxes) show this colour; the palette carries it to
    // those that fill their background themselves.
    QPalette p = palette();
    p.setColor(QPalette::Window, ColorToQColor(m_color));
    setPalette(p);
    update();
}

void TPanel::SetBevelWidth(int value)
{
    if (value == m_bevelWidth)
        return;
    m_bevelWidth = value;
    update();
}

void TPanel::SetBevelOuter(TBevelCut value)
{
    if (value == m_bevelOuter)
        return;
    m_bevelOuter = value;
    update();
}

void TPanel::SetAlign(TAlign value)
{
    if (value == m_align)
        return;
    m_align = value;
    if (parentWidget()) {
        if (value == alClient)
            parentWidget()->installEventFilter(this);
        else
            parentWidget()->removeEventFilter(this);
    }
    FillParent();
}

void TPanel::FillParent()
{
    if (m_align == alClient && parentWidget())
        setGeometry(parentWidget()->rect());
}

bool TPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        FillParent();
    return QWidget::eventFilter(watched, event);
}

void TPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), ColorToQColor(m_color));
    if (m_bevelOuter == bvNone)
        return;
    QColor topLeft = ColorToQColor(clBtnHighlight);
    QColor bottomRight = ColorToQColor(clBtnShadow);
    if (m_bevelOuter == bvLowered)
        std::swap(topLeft, bottomRight);
    for (int i = 0; i < m_bevelWidth; ++i) {
        const QRect r = rect().adjusted(i, i, -i, -i);
        if (r.width() <= 0 || r.height() <= 0)
            break;
        painter.setPen(topLeft);
        painter.drawLine(r.bottomLeft(), r.topLeft());
        painter.drawLine(r.topLeft(), r.topRight());
        painter.setPen(bottomRight);
        painter.drawLine(r.topRight(), r.bottomRight());
        painter.drawLine(r.bottomLeft(), r.bottomRight());
    }
}

TEdit::TEdit(QWidget *parent) : QLineEdit(parent), TControl(this)
{
    connect(this, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (text == m_shownText)
            return;
        m_shownText = text;
        if (OnChange)
            Guard([&] { OnChange(this); });
    });
}

void TEdit::SetText(const QString &value)
{
    if (value == text())
        return;
    setText(value);
}

TMemo::TMemo(QWidget *parent) : QTextEdit(parent), TControl(this), m_color(clWindow)
{
    setAcceptRichText(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QStringList TMemo::Lines() const
{
    QStringList lines;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    if (lines.size() == 1 && lines.front().isEmpty())
        lines.clear();
    return lines;
}

void TMemo::SetLines(const QStringList &value)
{
    setPlainText(value.join(QLatin1Char('\n')));
    ApplyAlignment();
}

void TMemo::SetAlignment(TAlignment value)
{
    if (value == m_alignment)
        return;
    m_alignment = value;
    ApplyAlignment();
}

void TMemo::ApplyAlignment()
{
    const Qt::Alignment alignment = m_alignment == taCenter ? Qt::AlignHCenter
                                    : m_alignment == taRightJustify ? Qt::AlignRight
                                                                    : Qt::AlignLeft;
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(alignment);
    document()->setDefaultTextOption(option);
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setAlignment(alignment);
    cursor.mergeBlockFormat(format);
}

void TMemo::SetColor(TColor value)
{
    if (value == m_color)
        return;
    m_color = value;
    QPalette p = palette();
    p.setColor(QPalette::Base, ColorToQColor(value));
    setPalette(p);
}
