// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace quandrel {

// What the environment says about the window systems a start could use.
struct DisplayEnvironment {
    QString platform;       // QT_QPA_PLATFORM, or the -platform argument
    QString display;        // DISPLAY: an X server (XWayland under a Wayland desktop)
    QString waylandDisplay; // WAYLAND_DISPLAY
    QString runtimeDir;     // XDG_RUNTIME_DIR, where Wayland sockets live

    // This process's environment and command line.
    static DisplayEnvironment current(const QStringList& arguments);
};

// The Qt platform to ask for, or empty to leave the choice to Qt and the
// user. A window per timer needs the window manager to honour placement,
// raising and "stay on top", which Wayland leaves to the compositor alone:
// where an X server is at hand too (XWayland), Quandrel runs through it,
// unless the user chose a platform.
QString preferredPlatform(const DisplayEnvironment& environment);

// Whether a window could be opened: the server of one of the platforms that
// would be tried answers on its socket. Platforms that need no server
// (offscreen, say) always can.
bool displayReachable(const DisplayEnvironment& environment);

// Whether the window system lets a program place, raise and keep its own
// windows on top: true on X11, false on Wayland, where the compositor alone
// decides.
bool windowSystemObeysPrograms(const QString& platformName);

} // namespace quandrel
