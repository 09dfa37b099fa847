// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/statusitem.h"

#include <QIcon>
#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace quandrel {

class QtStatusItem::Icon final : public QSystemTrayIcon {
public:
    Icon() : QSystemTrayIcon(QIcon(QPixmap(QStringLiteral(":/images/timericon-48.png"))))
    {
        // A left click brings the menu too: the item has nothing else to do.
        connect(this, &QSystemTrayIcon::activated, this, [this](ActivationReason reason) {
            if (reason == Trigger && contextMenu())
                contextMenu()->popup(geometry().center());
        });
    }
};

QtStatusItem::QtStatusItem() : icon_(new Icon)
{
}

QtStatusItem::~QtStatusItem()
{
    delete icon_;
}

bool QtStatusItem::available() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtStatusItem::setVisible(bool visible)
{
    // Asked only where a tray answers; elsewhere Qt would warn on every call.
    if (available() || !visible)
        icon_->setVisible(visible);
}

void QtStatusItem::setToolTip(const QString& text)
{
    if (icon_->toolTip() != text)
        icon_->setToolTip(text);
}

void QtStatusItem::setMenu(QMenu* menu)
{
    icon_->setContextMenu(menu);
}

} // namespace quandrel
