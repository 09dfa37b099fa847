// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commandline.h"

#include "engine/timearith.h"
#include "engine/timerfile.h"
#include "quandrelproxy.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusPendingReply>
#include <QFileInfo>

#include <cstdio>

namespace quandrel {
namespace {

void print(FILE* stream, const QString& text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stream);
    // The first start goes on running its timers: what it said must not
    // wait in a buffer until it ends.
    std::fflush(stream);
}

} // namespace

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("CommandLine", text);
}

struct Options {
    QCommandLineOption countDown, countUp, alarm, stopwatch;             // the kinds of timer
    QCommandLineOption autoRestart, title, sound, popOnTop, repeatAlert; // what goes with one
    QCommandLineOption again, recent, hideAll, showAll, closeAll, list, tray, help, version;
};

Options addOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(tr("Quandrel: up to six timers, alarm clocks and stopwatches at once. "
                                        "With Quandrel running, a second start hands it its options."));
    const auto option = [&parser](const char* name, const char* help, const QString& value = {}) {
        QCommandLineOption o(QLatin1String(name), tr(help), value);
        parser.addOption(o);
        return o;
    };
    const QString duration = tr("duration");
    return {
        option("count-down",
               QT_TRANSLATE_NOOP("CommandLine", "Start a count-down of DURATION: H:MM:SS, MM:SS, "
                                                "or 90s, 25m, 1h30m (up to 23:59:59)."),
               duration),
        option("count-up", QT_TRANSLATE_NOOP("CommandLine", "Start a count-up of DURATION."), duration),
        option("alarm",
               QT_TRANSLATE_NOOP("CommandLine", "Start an alarm clock for a time of day, HH:MM[:SS] (24-hour)."),
               tr("time")),
        option("stopwatch", QT_TRANSLATE_NOOP("CommandLine", "Start a stopwatch.")),
        option("auto-restart", QT_TRANSLATE_NOOP("CommandLine", "The count-down or count-up restarts itself.")),
        option("title", QT_TRANSLATE_NOOP("CommandLine", "The timer's title."), tr("text")),
        option("sound",
               QT_TRANSLATE_NOOP("CommandLine",
                                 "The alert sound: a list name such as Bleep or Biscuits, None, or a wave file."),
               tr("name|file")),
        option("pop-on-top",
               QT_TRANSLATE_NOOP("CommandLine", "The timer comes to the front and stays on top when it goes off.")),
        option("repeat-alert", QT_TRANSLATE_NOOP("CommandLine", "The alert sound comes again, with a pause, until "
                                                                "stopped (10 minutes at most).")),
        option("again",
               QT_TRANSLATE_NOOP("CommandLine", "Start again the timer set up as the Nth of --recent (1: the last)."),
               QStringLiteral("N")),
        option("recent", QT_TRANSLATE_NOOP("CommandLine", "List the timers set up last, newest first.")),
        option("hide-all", QT_TRANSLATE_NOOP("CommandLine", "Hide every timer window.")),
        option("show-all", QT_TRANSLATE_NOOP("CommandLine", "Show every timer window again.")),
        option("close-all", QT_TRANSLATE_NOOP("CommandLine", "Close every timer.")),
        option("list", QT_TRANSLATE_NOOP("CommandLine", "List the running timers: slot, title, kind, reading.")),
        option("tray", QT_TRANSLATE_NOOP("CommandLine", "Keep Quandrel's item in the tray also while no timer runs.")),
        parser.addHelpOption(),
        parser.addVersionOption()};
}

// The timer to start, into launch; what is wrong with the options, if anything.
QString readTimer(const QCommandLineParser& parser, const Options& o, QVariantMap& launch)
{
    int kinds = 0;
    for (const auto& [option, kind] : {std::pair{o.countDown, "count-down"},
                                       {o.countUp, "count-up"},
                                       {o.alarm, "alarm"},
                                       {o.stopwatch, "stopwatch"}}) {
        if (!parser.isSet(option))
            continue;
        ++kinds;
        launch.insert(QStringLiteral("kind"), QLatin1String(kind));
        if (option.valueName().isEmpty())
            continue; // a stopwatch takes no value
        const QString value = parser.value(option);
        const bool alarm = option.names() == o.alarm.names();
        const std::optional<int32_t> secs = alarm ? parseTimeOfDay(value) : parseDuration(value);
        if (alarm && !secs)
            return tr("--alarm: '%1' is not a time of day (HH:MM or HH:MM:SS).").arg(value);
        if (!secs)
            return tr("--%1: '%2' is not a duration (H:MM:SS, MM:SS, or 90s, 25m, 1h30m; up to 23:59:59).")
                .arg(option.names().first(), value);
        if (!alarm && secs == 0)
            return tr("--%1: '%2' is no time at all; a timer needs at least 1 second.")
                .arg(option.names().first(), value);
        launch.insert(alarm ? QStringLiteral("alarm") : QStringLiteral("duration"), *secs);
    }
    if (kinds > 1)
        return tr("Choose one of --count-down, --count-up, --alarm and --stopwatch.");
    for (const QCommandLineOption& option : {o.autoRestart, o.title, o.sound, o.popOnTop, o.repeatAlert}) {
        if (!parser.isSet(option))
            continue;
        if (kinds == 0)
            return tr("--%1 needs a timer to start: --count-down, --count-up, --alarm or --stopwatch.")
                .arg(option.names().first());
        if (option.valueName().isEmpty()) {
            launch.insert(option.names().first(), true);
            continue;
        }
        QVariant value = parser.value(option);
        // A wave file named from here is the file seen from here.
        if (option.names() == o.sound.names() && QFileInfo::exists(value.toString()))
            value = QFileInfo(value.toString()).absoluteFilePath();
        launch.insert(option.names().first(), value);
    }
    if (parser.isSet(o.autoRestart) && !launch.contains(QStringLiteral("duration")))
        return tr("--auto-restart is for --count-down and --count-up.");
    return {};
}

} // namespace

ParsedCommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    const Options o = addOptions(parser);
    ParsedCommandLine result;
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
    } else if (parser.isSet(o.help) || parser.isSet(QStringLiteral("help-all")) || parser.isSet(o.version)) {
        result.output = !parser.isSet(o.version) ? parser.helpText()
                                                 : QCoreApplication::applicationName() + QLatin1Char(' ') +
                                                       QCoreApplication::applicationVersion();
    } else if (!parser.positionalArguments().isEmpty()) {
        result.error = tr("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
    } else {
        Command& c = result.command;
        result.error = readTimer(parser, o, c.launch);
        c.hideAll = parser.isSet(o.hideAll);
        c.showAll = parser.isSet(o.showAll);
        c.closeAll = parser.isSet(o.closeAll);
        c.list = parser.isSet(o.list);
        c.keepTrayItem = parser.isSet(o.tray);
        c.recent = parser.isSet(o.recent);
        if (parser.isSet(o.again)) {
            bool number = false;
            c.again = parser.value(o.again).toInt(&number);
            if (!number || c.again < 1 || c.again > RecentCount)
                result.error =
                    tr("--again: '%1' is not a number from 1 to %2.").arg(parser.value(o.again)).arg(RecentCount);
            else if (!c.launch.isEmpty())
                result.error =
                    tr("--again starts a timer of its own: it goes without --count-down, --count-up, --alarm "
                       "and --stopwatch.");
        }
    }
    return result;
}

int runCommand(const Command& command, QuandrelCalls& calls)
{
    const auto failed = [](const CallResult& result) {
        print(stderr, QStringLiteral("quandrel: ") + result.error);
        return result.badArgument ? 2 : 1;
    };
    if (!command.any()) {
        const CallResult shown = calls.activate();
        return shown.error.isEmpty() ? 0 : failed(shown);
    }
    if (!command.launch.isEmpty()) {
        const CallResult slot = calls.launch(command.launch);
        if (!slot.error.isEmpty())
            return failed(slot);
        print(stdout, tr("Started timer %1.").arg(slot.value.toInt()));
    }
    if (command.again > 0) {
        const CallResult slot = calls.again(command.again);
        if (!slot.error.isEmpty())
            return failed(slot);
        print(stdout, tr("Started timer %1.").arg(slot.value.toInt()));
    }
    const std::pair<bool, CallResult (QuandrelCalls::*)()> windowCommands[] = {
        {command.closeAll, &QuandrelCalls::closeAll},
        {command.hideAll, &QuandrelCalls::hideAll},
        {command.showAll, &QuandrelCalls::showAll}};
    for (const auto& [asked, windowCommand] : windowCommands) {
        if (!asked)
            continue;
        if (const CallResult done = (calls.*windowCommand)(); !done.error.isEmpty())
            return failed(done);
    }
    for (const auto& [asked, lister] :
         {std::pair{command.list, &QuandrelCalls::list}, {command.recent, &QuandrelCalls::recent}}) {
        if (!asked)
            continue;
        const CallResult lines = (calls.*lister)();
        if (!lines.error.isEmpty())
            return failed(lines);
        for (const QString& line : lines.value.toStringList())
            print(stdout, line);
    }
    return 0;
}

namespace {

// A command waits this long for the running Quandrel to answer.
constexpr int AnswerWaitMs = 5000;

class CallsOverBus final : public QuandrelCalls {
public:
    // A connection of its own, so that giving up can end it at once: the
    // running Quandrel then finds its caller gone and drops the call.
    CallsOverBus()
        : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, ConnectionName)),
          quandrel_(BusName, BusPath, bus_)
    {
        quandrel_.setTimeout(AnswerWaitMs);
    }
    ~CallsOverBus() override { QDBusConnection::disconnectFromBus(ConnectionName); }

    CallResult launch(const QVariantMap& choices) override { return answer(quandrel_.Launch(choices)); }
    CallResult list() override { return answer(quandrel_.List()); }
    CallResult recent() override { return answer(quandrel_.Recent()); }
    CallResult again(int number) override { return answer(quandrel_.Again(number)); }
    CallResult hideAll() override { return answer(quandrel_.HideAll()); }
    CallResult showAll() override { return answer(quandrel_.ShowAll()); }
    CallResult closeAll() override { return answer(quandrel_.CloseAll()); }
    CallResult activate() override { return answer(quandrel_.Activate()); }

private:
    static inline const QString ConnectionName = QStringLiteral("quandrel-command");

    template <typename... Value> CallResult answer(QDBusPendingReply<Value...> reply)
    {
        reply.waitForFinished();
        CallResult result;
        if (!reply.isError()) {
            if constexpr (sizeof...(Value) > 0)
                result.value = QVariant::fromValue(reply.template argumentAt<0>());
            return result;
        }
        const QDBusError error = reply.error();
        if (error.type() == QDBusError::NoReply || error.type() == QDBusError::Timeout) {
            QDBusConnection::disconnectFromBus(ConnectionName);
            result.error = tr("Quandrel is not answering (no reply within %1 seconds); "
                              "it will not carry out this command.")
                               .arg(AnswerWaitMs / 1000);
            return result;
        }
        result.error = error.message();
        result.badArgument = error.name().endsWith(QLatin1String(".InvalidArgs"));
        return result;
    }

    QDBusConnection bus_;
    QuandrelProxy quandrel_;
};

} // namespace

std::unique_ptr<QuandrelCalls> callsOverBus()
{
    return std::make_unique<CallsOverBus>();
}

} // namespace quandrel
