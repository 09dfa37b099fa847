// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commandline.h"

#include "engine/timearith.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QFileInfo>

#include <cstdio>

namespace quandrel {
namespace {

void print(FILE* stream, const QString& text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stream);
}

} // namespace

ParsedCommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("CommandLine", "Quandrel: up to six timers, alarm clocks and stopwatches at once. "
                                                   "With Quandrel running, a second start hands it its options."));
    const auto option = [&parser](const QString& name, const char* help, const QString& value = {}) {
        QCommandLineOption o(name, QCoreApplication::translate("CommandLine", help), value);
        parser.addOption(o);
        return o;
    };
    const QString duration = QCoreApplication::translate("CommandLine", "duration");
    const auto countDown = option(
        QStringLiteral("count-down"),
        QT_TRANSLATE_NOOP("CommandLine",
                          "Start a count-down of DURATION: H:MM:SS, MM:SS, or 90s, 25m, 1h30m (up to 23:59:59)."),
        duration);
    const auto countUp =
        option(QStringLiteral("count-up"), QT_TRANSLATE_NOOP("CommandLine", "Start a count-up of DURATION."), duration);
    const auto autoRestart = option(QStringLiteral("auto-restart"),
                                    QT_TRANSLATE_NOOP("CommandLine", "The count-down or count-up restarts itself."));
    const auto alarm =
        option(QStringLiteral("alarm"),
               QT_TRANSLATE_NOOP("CommandLine", "Start an alarm clock for a time of day, HH:MM[:SS] (24-hour)."),
               QCoreApplication::translate("CommandLine", "time"));
    const auto stopwatch = option(QStringLiteral("stopwatch"), QT_TRANSLATE_NOOP("CommandLine", "Start a stopwatch."));
    const auto title = option(QStringLiteral("title"), QT_TRANSLATE_NOOP("CommandLine", "The timer's title."),
                              QCoreApplication::translate("CommandLine", "text"));
    const auto sound =
        option(QStringLiteral("sound"),
               QT_TRANSLATE_NOOP("CommandLine",
                                 "The alert sound: a list name such as Bleep or Biscuits, None, or a wave file."),
               QCoreApplication::translate("CommandLine", "name|file"));
    const auto popOnTop =
        option(QStringLiteral("pop-on-top"),
               QT_TRANSLATE_NOOP("CommandLine", "The timer comes to the front and stays on top when it goes off."));
    const auto hideAll =
        option(QStringLiteral("hide-all"), QT_TRANSLATE_NOOP("CommandLine", "Hide every timer window."));
    const auto showAll =
        option(QStringLiteral("show-all"), QT_TRANSLATE_NOOP("CommandLine", "Show every timer window again."));
    const auto closeAll = option(QStringLiteral("close-all"), QT_TRANSLATE_NOOP("CommandLine", "Close every timer."));
    const auto list = option(QStringLiteral("list"),
                             QT_TRANSLATE_NOOP("CommandLine", "List the running timers: slot, title, kind, reading."));
    const auto help = parser.addHelpOption();
    const auto version = parser.addVersionOption();

    ParsedCommandLine result;
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (parser.isSet(help) || parser.isSet(version)) {
        result.output = parser.isSet(help) ? parser.helpText()
                                           : QCoreApplication::applicationName() + QLatin1Char(' ') +
                                                 QCoreApplication::applicationVersion();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.error = QCoreApplication::translate("CommandLine", "Unexpected argument '%1'.")
                           .arg(parser.positionalArguments().first());
        return result;
    }
    Command& c = result.command;
    int kinds = 0;
    for (const auto& [o, kind] :
         {std::pair{countDown, "count-down"}, {countUp, "count-up"}, {alarm, "alarm"}, {stopwatch, "stopwatch"}}) {
        if (!parser.isSet(o))
            continue;
        ++kinds;
        c.launch.insert(QStringLiteral("kind"), QLatin1String(kind));
        if (o.valueName().isEmpty())
            continue;
        const QString value = parser.value(o);
        const std::optional<int32_t> secs = o.names() == alarm.names() ? parseTimeOfDay(value) : parseDuration(value);
        if (!secs) {
            result.error =
                o.names() == alarm.names()
                    ? QCoreApplication::translate("CommandLine",
                                                  "--alarm: '%1' is not a time of day (HH:MM or HH:MM:SS).")
                          .arg(value)
                    : QCoreApplication::translate(
                          "CommandLine",
                          "--%1: '%2' is not a duration (H:MM:SS, MM:SS, or 90s, 25m, 1h30m; up to 23:59:59).")
                          .arg(o.names().first(), value);
            return result;
        }
        c.launch.insert(o.names() == alarm.names() ? QStringLiteral("alarm") : QStringLiteral("duration"), *secs);
    }
    if (kinds > 1) {
        result.error = QCoreApplication::translate("CommandLine",
                                                   "Choose one of --count-down, --count-up, --alarm and --stopwatch.");
        return result;
    }
    for (const auto& [o, key] :
         {std::pair{autoRestart, "auto-restart"}, {title, "title"}, {sound, "sound"}, {popOnTop, "pop-on-top"}}) {
        if (!parser.isSet(o))
            continue;
        if (kinds == 0) {
            result.error =
                QCoreApplication::translate(
                    "CommandLine", "--%1 needs a timer to start: --count-down, --count-up, --alarm or --stopwatch.")
                    .arg(o.names().first());
            return result;
        }
        QVariant value = o.valueName().isEmpty() ? QVariant(true) : QVariant(parser.value(o));
        // A wave file named from here is the file seen from here.
        if (o.names() == sound.names() && QFileInfo::exists(parser.value(o)))
            value = QFileInfo(parser.value(o)).absoluteFilePath();
        c.launch.insert(QLatin1String(key), value);
    }
    if (c.launch.value(QStringLiteral("auto-restart")).toBool() && !c.launch.contains(QStringLiteral("duration"))) {
        result.error = QCoreApplication::translate("CommandLine", "--auto-restart is for --count-down and --count-up.");
        return result;
    }
    c.hideAll = parser.isSet(hideAll);
    c.showAll = parser.isSet(showAll);
    c.closeAll = parser.isSet(closeAll);
    c.list = parser.isSet(list);
    return result;
}

int runCommand(const Command& command, const RemoteCall& call)
{
    if (!command.any()) {
        call(QStringLiteral("Activate"), {});
        return 0;
    }
    const auto failed = [](const CallResult& result) {
        print(stderr, QStringLiteral("quandrel: ") + result.error);
        return result.badArgument ? 2 : 1;
    };
    if (!command.launch.isEmpty()) {
        const CallResult slot = call(QStringLiteral("Launch"), {command.launch});
        if (!slot.error.isEmpty())
            return failed(slot);
        print(stdout, QCoreApplication::translate("CommandLine", "Started timer %1.").arg(slot.value.toInt()));
    }
    const std::pair<bool, const char*> windowCommands[] = {
        {command.closeAll, "CloseAll"}, {command.hideAll, "HideAll"}, {command.showAll, "ShowAll"}};
    for (const auto& [asked, method] : windowCommands) {
        if (!asked)
            continue;
        if (const CallResult done = call(QLatin1String(method), {}); !done.error.isEmpty())
            return failed(done);
    }
    if (command.list) {
        const CallResult lines = call(QStringLiteral("List"), {});
        if (!lines.error.isEmpty())
            return failed(lines);
        for (const QString& line : lines.value.toStringList())
            print(stdout, line);
    }
    return 0;
}

RemoteCall callOverBus()
{
    return [](const QString& method, const QVariantList& arguments) {
        QDBusInterface quandrel(BusName, BusPath, BusName);
        const QDBusMessage reply = quandrel.callWithArgumentList(QDBus::Block, method, arguments);
        CallResult result;
        if (reply.type() == QDBusMessage::ErrorMessage) {
            result.error = reply.errorMessage();
            result.badArgument = reply.errorName().endsWith(QLatin1String(".InvalidArgs"));
        } else if (!reply.arguments().isEmpty()) {
            result.value = reply.arguments().first();
        }
        return result;
    };
}

} // namespace quandrel
