#pragma once

#include "platform/Form.h"

#include <QString>
#include <memory>
#include <vector>

class QMenu;

class TMenuItem
{
public:
    explicit TMenuItem(QString caption) : Caption(std::move(caption)) {}
    QString Caption;
    TNotifyEvent OnClick;
};

// A context menu: its items in order, shown at a screen point.
class TPopupMenu
{
public:
    TPopupMenu();
    ~TPopupMenu();

    TMenuItem *Add(const QString &caption);
    void Popup(QPoint screenPoint);
    QMenu *Menu() const { return m_menu.get(); } // for tests

private:
    std::vector<std::unique_ptr<TMenuItem>> m_items;
    std::unique_ptr<QMenu> m_menu;
};
