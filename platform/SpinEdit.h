#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"

#include <QLineEdit>

class QToolButton;

// A one-line number field with up and down arrows. Its value is its text read as a whole decimal
// number, or the minimum when the text is not one. The field corrects nothing while the user
// types; only the arrows, the program and leaving the field bring the number into the range.
class TSpinEdit : public QLineEdit, public TControl
{
    Q_OBJECT
public:
    explicit TSpinEdit(QWidget *parent);

    // With equal bounds the field has no range.
    int MinValue() const { return m_minValue; }
    void SetMinValue(int value) { m_minValue = value; }
    int MaxValue() const { return m_maxValue; }
    void SetMaxValue(int value) { m_maxValue = value; }

    int Value() const;
    // Brings the number into the range, then shows it.
    void SetValue(int value);

    QString Text() const { return text(); }
    void SetText(const QString &value);

    // Every change of the text, typed or set; nested when a handler sets the value again.
    TNotifyEvent OnChange;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    static constexpr int ArrowWidth = 15;

    long long Clamped(long long value) const;
    void Step(int delta);
    void TextChanged(const QString &text);

    int m_minValue = 0;
    int m_maxValue = 0;
    QString m_shownText;
    QToolButton *m_up;
    QToolButton *m_down;
};
