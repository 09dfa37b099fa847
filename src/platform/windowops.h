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
    // True while this window is the active one.
    virtual bool isActive(QWidget* window) = 0;
    // Whether the window system lets the program restore, raise and keep its
    // windows on top, and learn that one is minimised: X11 does, Wayland
    // leaves all of it to the compositor.
    virtual bool canRaise() = 0;
    // Hides a window and shows it again where it was.
    virtual void hide(QWidget* window) = 0;
    virtual void show(QWidget* window) = 0;
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
    bool isActive(QWidget* window) override;
    bool canRaise() override;
    void hide(QWidget* window) override;
    void show(QWidget* window) override;
};

} // namespace quandrel
