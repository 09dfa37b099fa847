// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/windowops.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace quandrel {

bool QtWindowOps::isMinimized(QWidget* window)
{
    return window->windowState() & Qt::WindowMinimized;
}

void QtWindowOps::restore(QWidget* window)
{
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    if (window->isVisible())
        window->showNormal();
}

void QtWindowOps::setStaysOnTop(QWidget* window, bool onTop)
{
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    if (flags == window->windowFlags())
        return;
    // setWindowFlag() would recreate the native window (hiding and possibly
    // moving it); updating the flags of the existing native window keeps it
    // where it is.
    window->overrideWindowFlags(flags);
    if (QWindow* handle = window->windowHandle())
        handle->setFlags(flags);
}

void QtWindowOps::raise(QWidget* window)
{
    window->raise();
}

void QtWindowOps::activate(QWidget* window)
{
    window->raise();
    window->activateWindow();
}

void QtWindowOps::alert(QWidget* window)
{
    QApplication::alert(window);
}

bool QtWindowOps::applicationActive()
{
    return QApplication::activeWindow() != nullptr;
}

void QtWindowOps::setFocus(QWidget* control)
{
    control->setFocus(Qt::OtherFocusReason);
}

} // namespace quandrel
