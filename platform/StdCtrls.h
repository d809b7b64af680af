#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTextEdit>
#include <QWidget>

class QButtonGroup;
class QRadioButton;

// A text on its parent's background. With AutoSize (the default) it takes the size of its text,
// keeping its left and top.
class TLabel : public QLabel, public TControl
{
    Q_OBJECT
public:
    explicit TLabel(QWidget *parent);

    QString Caption() const { return text(); }
    void SetCaption(const QString &value);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value);
    void SetBounds(int left, int top, int width, int height);

protected:
    void changeEvent(QEvent *event) override;

private:
    void FitText();

    bool m_autoSize = true;
};

class TButton : public QPushButton, public TControl
{
    Q_OBJECT
public:
    explicit TButton(QWidget *parent);

    QString Caption() const { return text(); }
    void SetCaption(const QString &value) { setText(value); }

    TNotifyEvent OnClick;
};

enum TBitBtnKind { bkCustom, bkOK };

// A button with a picture; the OK kind shows "OK" and the platform's OK icon.
class TBitBtn : public TButton
{
    Q_OBJECT
public:
    explicit TBitBtn(QWidget *parent, TBitBtnKind kind = bkCustom);

    TBitBtnKind Kind() const { return m_kind; }
    void SetKind(TBitBtnKind value);

private:
    TBitBtnKind m_kind = bkCustom;
};

// OnClick runs at every change of the check mark, by the user or the program.
class TCheckBox : public QCheckBox, public TControl
{
    Q_OBJECT
public:
    explicit TCheckBox(QWidget *parent);

    QString Caption() const { return text(); }
    void SetCaption(const QString &value) { setText(value); }
    bool Checked() const { return isChecked(); }
    void SetChecked(bool value);

    TNotifyEvent OnClick;
};

class TGroupBox : public QGroupBox, public TControl
{
    Q_OBJECT
public:
    explicit TGroupBox(QWidget *parent);

    QString Caption() const { return title(); }
    void SetCaption(const QString &value) { setTitle(value); }
};

// A captioned group of radio items in one column, spread evenly over its height. ItemIndex -1
// means no choice. OnClick runs at every change of the choice, by the user or the program.
class TRadioGroup : public QGroupBox, public TControl
{
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget *parent);

    QString Caption() const { return title(); }
    void SetCaption(const QString &value) { setTitle(value); }
    QStringList Items() const { return m_items; }
    // Keeps the choice when the new list still has that item, else there is none; runs nothing.
    void SetItems(const QStringList &value);
    int ItemIndex() const { return m_itemIndex; }
    // Values below -1 or beyond the last item are taken as -1 or the last item.
    void SetItemIndex(int value);

    TNotifyEvent OnClick;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void ArrangeItems();
    void ShowChoice();

    QStringList m_items;
    int m_itemIndex = -1;
    QButtonGroup *m_group;
    QList<QRadioButton *> m_buttons;
    bool m_showing = false;
};

enum TBevelCut { bvNone, bvLowered, bvRaised };
enum TAlign { alNone, alClient };

// A plain area in one colour with a bevelled edge; with alClient it always covers its parent.
class TPanel : public QWidget, public TControl
{
    Q_OBJECT
public:
    explicit TPanel(QWidget *parent);

    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int value);
    TBevelCut BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TBevelCut value);
    TAlign Align() const { return m_align; }
    void SetAlign(TAlign value);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ApplyColor();
    void FillParent();

    TColor m_color = clBtnFace;
    int m_bevelWidth = 1;
    TBevelCut m_bevelOuter = bvRaised;
    TAlign m_align = alNone;
};

// OnChange runs at every change of the text, typed or set.
class TEdit : public QLineEdit, public TControl
{
    Q_OBJECT
public:
    explicit TEdit(QWidget *parent);

    QString Text() const { return text(); }
    void SetText(const QString &value);

    TNotifyEvent OnChange;

private:
    QString m_shownText;
};

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Lines of text, wrapped at the control's width.
class TMemo : public QTextEdit, public TControl
{
    Q_OBJECT
public:
    explicit TMemo(QWidget *parent);

    QStringList Lines() const;
    void SetLines(const QStringList &value);
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool value) { setReadOnly(value); }
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value);
    // The background behind the text.
    TColor Color() const { return m_color; }
    void SetColor(TColor value);

private:
    void ApplyAlignment();

    TAlignment m_alignment = taLeftJustify;
    TColor m_color;
};
