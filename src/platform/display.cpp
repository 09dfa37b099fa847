// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/display.h"

#include <QByteArray>
#include <QDir>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace quandrel {
namespace {

// Whether something listens on a local socket; abstract names start with '@'.
bool answers(const QString& path)
{
    const QByteArray name = path.toLocal8Bit();
    sockaddr_un address{};
    if (name.isEmpty() || size_t(name.size()) >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    socklen_t length = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(name.size()));
    if (name.startsWith('@'))
        address.sun_path[0] = '\0';
    else
        ++length; // the terminating zero of a path
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
    ::close(fd);
    return connected;
}

bool xServerAnswers(const QString& display)
{
    // ":1", ":1.0", "unix:1"; another host is reached over the network,
    // which only Qt itself tries.
    const qsizetype colon = display.lastIndexOf(QLatin1Char(':'));
    if (colon < 0)
        return false;
    const QString host = display.left(colon);
    if (!host.isEmpty() && host != QLatin1String("unix"))
        return true;
    bool isNumber = false;
    const int number = display.mid(colon + 1).section(QLatin1Char('.'), 0, 0).toInt(&isNumber);
    if (!isNumber || number < 0)
        return false;
    const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(number);
    return answers(QLatin1Char('@') + socket) || answers(socket);
}

bool waylandAnswers(const DisplayEnvironment& e)
{
    const QString name = e.waylandDisplay.isEmpty() ? QStringLiteral("wayland-0") : e.waylandDisplay;
    if (QDir::isAbsolutePath(name))
        return answers(name);
    return !e.runtimeDir.isEmpty() && answers(e.runtimeDir + QLatin1Char('/') + name);
}

} // namespace

DisplayEnvironment DisplayEnvironment::current(const QStringList& arguments)
{
    DisplayEnvironment e;
    e.platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("-platform") || arguments[i] == QLatin1String("--platform"))
            e.platform = arguments[i + 1];
    }
    e.display = qEnvironmentVariable("DISPLAY");
    e.waylandDisplay = qEnvironmentVariable("WAYLAND_DISPLAY");
    e.runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return e;
}

QString preferredPlatform(const DisplayEnvironment& e)
{
    if (!e.platform.isEmpty() || e.display.isEmpty() || e.waylandDisplay.isEmpty())
        return {};
    // Wayland stays the way out should the X plugin be missing.
    return QStringLiteral("xcb;wayland");
}

bool displayReachable(const DisplayEnvironment& e)
{
    QString platforms = e.platform;
    if (platforms.isEmpty())
        platforms = preferredPlatform(e);
    if (platforms.isEmpty())
        platforms =
            e.display.isEmpty() && !e.waylandDisplay.isEmpty() ? QStringLiteral("wayland") : QStringLiteral("xcb");
    for (const QString& platform : platforms.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString name = platform.section(QLatin1Char(':'), 0, 0);
        if (name == QLatin1String("xcb")                ? xServerAnswers(e.display)
            : name.startsWith(QLatin1String("wayland")) ? waylandAnswers(e)
                                                        : true)
            return true;
    }
    return false;
}

bool windowSystemObeysPrograms(const QString& platformName)
{
    return !platformName.startsWith(QLatin1String("wayland"));
}

} // namespace quandrel
