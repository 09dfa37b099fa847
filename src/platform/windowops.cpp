// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/windowops.h"

#include "platform/display.h"

#include <QApplication>
#include <QVariant>
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

bool QtWindowOps::isActive(QWidget* window)
{
    return window->isActiveWindow();
}

bool QtWindowOps::canRaise()
{
    return windowSystemObeysPrograms(QGuiApplication::platformName());
}

namespace {
const char* const PlaceProperty = "quandrelPlace";
}

void QtWindowOps::hide(QWidget* window)
{
    // Shown again, a window would be placed anew: on X11, once its size
    // changed while hidden, with its frame's corner taken for its own (one
    // title bar higher); under some desktops wherever they like. The place
    // of its inside is what stays put.
    window->setProperty(PlaceProperty, window->geometry().topLeft());
    window->hide();
}

void QtWindowOps::show(QWidget* window)
{
    const QVariant place = window->property(PlaceProperty);
    if (place.isValid())
        window->setGeometry(QRect(place.toPoint(), window->size()));
    window->show();
}

} // namespace quandrel
