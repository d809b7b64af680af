#include "platform/SpinEdit.h"

#include "platform/Application.h"

#include <QKeyEvent>
#include <QLocale>
#include <QToolButton>
#include <climits>

namespace {
// What may be typed into a number field: digits, signs, the decimal separator and control keys,
// except Enter.
bool isAcceptedText(const QString &text)
{
    const QString separator = QLocale().decimalPoint();
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\r' || u == '\n')
            return false;
        const bool control = u < 32 || u == 127;
        const bool numeric = (u >= '0' && u <= '9') || u == '+' || u == '-' || separator.contains(c);
        if (!control && !numeric)
            return false;
    }
    return true;
}
} // namespace

TSpinEdit::TSpinEdit(QWidget *parent)
    : QLineEdit(parent), TControl(this), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    // Composed input and dropped text would pass around the character check.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setAcceptDrops(false);
    setTextMargins(0, 0, ArrowWidth, 0);
    for (QToolButton *arrow : {m_up, m_down}) {
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setAutoRepeat(true);
        arrow->setCursor(Qt::ArrowCursor);
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    connect(m_up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });

    setText(QStringLiteral("0"));
    m_shownText = text();
    connect(this, &QLineEdit::textChanged, this, &TSpinEdit::TextChanged);
}

int TSpinEdit::Value() const
{
    bool ok = false;
    const long long number = text().toLongLong(&ok, 10);
    if (!ok || number < INT_MIN || number > INT_MAX)
        return m_minValue;
    return int(number);
}

void TSpinEdit::SetValue(int value)
{
    SetText(QString::number(Clamped(value)));
}

void TSpinEdit::SetText(const QString &value)
{
    if (value == text())
        return;
    setText(value);
}

long long TSpinEdit::Clamped(long long value) const
{
    if (m_minValue == m_maxValue)
        return value;
    if (value < m_minValue)
        return m_minValue;
    if (value > m_maxValue)
        return m_maxValue;
    return value;
}

void TSpinEdit::Step(int delta)
{
    long long next = Clamped((long long)Value() + delta);
    if (next < INT_MIN || next > INT_MAX)
        next = Value();
    SetValue(int(next));
}

void TSpinEdit::TextChanged(const QString &text)
{
    if (text == m_shownText)
        return;
    m_shownText = text;
    if (OnChange)
        Guard([&] { OnChange(this); });
}

void TSpinEdit::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        Step(1);
        event->accept();
        return;
    case Qt::Key_Down:
        Step(-1);
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        QApplication::beep();
        event->accept();
        return;
    default:
        break;
    }
    const bool shortcut = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!shortcut && !isAcceptedText(event->text())) {
        QApplication::beep();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TSpinEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // Switching to another window or opening a menu does not leave the field.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    const int value = Value();
    if (Clamped(value) != value)
        SetValue(value);
}

void TSpinEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    const int frame = 1;
    const int inner = height() - 2 * frame;
    const int upHeight = inner / 2;
    m_up->setGeometry(width() - frame - ArrowWidth, frame, ArrowWidth, upHeight);
    m_down->setGeometry(width() - frame - ArrowWidth, frame + upHeight, ArrowWidth, inner - upHeight);
}
