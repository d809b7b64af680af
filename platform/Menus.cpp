#include "platform/Menus.h"

#include "platform/Application.h"

#include <QMenu>

TPopupMenu::TPopupMenu() : m_menu(std::make_unique<QMenu>()) {}

TPopupMenu::~TPopupMenu() = default;

TMenuItem *TPopupMenu::Add(const QString &caption)
{
    m_items.push_back(std::make_unique<TMenuItem>(caption));
    TMenuItem *item = m_items.back().get();
    QAction *action = m_menu->addAction(caption);
    QObject::connect(action, &QAction::triggered, m_menu.get(), [item] {
        if (item->OnClick)
            Guard([item] { item->OnClick(nullptr); });
    });
    return item;
}

void TPopupMenu::Popup(QPoint screenPoint)
{
    m_menu->popup(screenPoint);
}
