// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QMenu;

namespace quandrel {

// The program's status item in the desktop's tray (a StatusNotifierItem, or
// an XEmbed tray icon): an icon with a tooltip and a menu. Where the desktop
// has no tray, it shows nothing and nothing else changes.
class StatusItem {
public:
    virtual ~StatusItem() = default;
    // Whether the desktop has a tray to show it in.
    virtual bool available() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void setToolTip(const QString& text) = 0;
    // The menu its click or right-click brings up; the item does not own it.
    virtual void setMenu(QMenu* menu) = 0;
};

// Over QSystemTrayIcon.
class QtStatusItem final : public StatusItem {
public:
    QtStatusItem();
    ~QtStatusItem() override;
    bool available() const override;
    void setVisible(bool visible) override;
    void setToolTip(const QString& text) override;
    void setMenu(QMenu* menu) override;

private:
    class Icon;
    Icon* icon_;
};

} // namespace quandrel
