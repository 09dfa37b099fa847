// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace quandrel {

// Window-manager operations on top-level windows and keyboard focus.
class WindowOps {
public:
    virtual ~WindowOps() = default;
    virtual bool isMinimized(QWidget* window) = 0;
    virtual void restore(QWidget* window) = 0;
    // Switches always-on-top without moving or resizing the window.
    virtual void setStaysOnTop(QWidget* window, bool onTop) = 0;
    virtual void raise(QWidget* window) = 0;
    virtual void activate(QWidget* window) = 0;
    // Asks for the user's attention (taskbar flash / urgency hint).
    virtual void alert(QWidget* window) = 0;
    // True while one of this program's windows is the active window.
    virtual bool applicationActive() = 0;
    virtual void setFocus(QWidget* control) = 0;
};

class QtWindowOps final : public WindowOps {
public:
    bool isMinimized(QWidget* window) override;
    void restore(QWidget* window) override;
    void setStaysOnTop(QWidget* window, bool onTop) override;
    void raise(QWidget* window) override;
    void activate(QWidget* window) override;
    void alert(QWidget* window) override;
    bool applicationActive() override;
    void setFocus(QWidget* control) override;
};

} // namespace quandrel
