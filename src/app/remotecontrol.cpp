// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/remotecontrol.h"

#include "app/mainwindow.h"
#include "app/timerkeeper.h"
#include "engine/ticks.h"
#include "engine/timearith.h"
#include "engine/timerfile.h"
#include "platform/clock.h"
#include "platform/sounddevice.h"
#include "platform/windowops.h"
#include "timerwindow/timerwindow.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

#include <array>
#include <optional>

namespace quandrel {
namespace {

// The kinds by the names the bus and the command line give them.
const std::array<std::pair<TimerKind, const char*>, 4> KindNames{{{TimerKind::CountUp, "count-up"},
                                                                  {TimerKind::CountDown, "count-down"},
                                                                  {TimerKind::AlarmClock, "alarm"},
                                                                  {TimerKind::Stopwatch, "stopwatch"}}};

QString kindName(TimerKind kind)
{
    for (const auto& [k, name] : KindNames)
        if (k == kind)
            return QLatin1String(name);
    return {};
}

std::optional<TimerKind> kindNamed(const QString& name)
{
    for (const auto& [kind, n] : KindNames)
        if (name == QLatin1String(n))
            return kind;
    return std::nullopt;
}

} // namespace

// The calls of the first start's own command line, answered as the bus
// would answer them.
class RemoteControl::LocalCalls final : public QuandrelCalls {
public:
    explicit LocalCalls(RemoteControl& remote) : remote_(remote) {}

    CallResult launch(const QVariantMap& choices) override
    {
        return answer([&] { return QVariant(remote_.Launch(choices)); });
    }
    CallResult list() override
    {
        return answer([&] { return QVariant(remote_.List()); });
    }
    CallResult recent() override
    {
        return answer([&] { return QVariant(remote_.Recent()); });
    }
    CallResult again(int number) override
    {
        return answer([&] { return QVariant(remote_.Again(number)); });
    }
    CallResult hideAll() override
    {
        return done([&] { remote_.HideAll(); });
    }
    CallResult showAll() override
    {
        return done([&] { remote_.ShowAll(); });
    }
    CallResult closeAll() override
    {
        return done([&] { remote_.CloseAll(); });
    }
    CallResult activate() override
    {
        return done([&] { remote_.Activate(); });
    }

private:
    template <typename Call> CallResult answer(Call call)
    {
        remote_.lastError_.clear();
        CallResult result;
        result.value = call();
        result.error = remote_.lastError_;
        result.badArgument = remote_.badArgument_;
        return result;
    }
    template <typename Call> CallResult done(Call call)
    {
        return answer([&] {
            call();
            return QVariant();
        });
    }

    RemoteControl& remote_;
};

RemoteControl::RemoteControl(MainWindow& main, Services& services, QObject* parent)
    : QObject(parent), main_(main), services_(services), localCalls_(std::make_unique<LocalCalls>(*this))
{
}

RemoteControl::~RemoteControl() = default;

QuandrelCalls& RemoteControl::localCalls()
{
    return *localCalls_;
}

bool RemoteControl::fail(const char* error, const QString& message)
{
    lastError_ = message;
    badArgument_ = QLatin1String(error) == QLatin1String("InvalidArgs");
    if (calledFromDBus())
        sendErrorReply(QStringLiteral("io.github.quandrel.Quandrel.Error.") + QLatin1String(error), message);
    return false;
}

bool RemoteControl::callerGone()
{
    // A command that waited too long for an answer gave up and went away:
    // carried out now, it would surprise the user who was told it failed.
    if (!calledFromDBus() || !message().isReplyRequired())
        return false;
    const QDBusConnectionInterface* bus = connection().interface();
    return bus && !bus->isServiceRegistered(message().service()).value();
}

int RemoteControl::slotIndex(int slot)
{
    if (callerGone())
        return -1;
    if (slot < 1 || slot > SlotCount || !main_.board().timer(slot - 1).isActive()) {
        fail("NoSuchTimer", tr("There is no timer %1.").arg(slot));
        return -1;
    }
    return slot - 1;
}

namespace {

bool isWholeNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

// A whole number from lowest to highest, or nothing.
std::optional<int32_t> wholeNumber(const QVariant& value, qint64 lowest, qint64 highest)
{
    if (!isWholeNumber(value))
        return std::nullopt;
    if (value.typeId() == QMetaType::ULongLong && value.toULongLong() > quint64(highest))
        return std::nullopt;
    const qint64 number = value.toLongLong();
    if (number < lowest || number > highest)
        return std::nullopt;
    return int32_t(number);
}

} // namespace

// Every key is one a timer takes, and holds a string, a whole number or a
// boolean as the key wants.
bool RemoteControl::checkKeys(const QVariantMap& c)
{
    const QHash<QString, QMetaType::Type> keys{
        {QStringLiteral("kind"), QMetaType::QString},      {QStringLiteral("duration"), QMetaType::Int},
        {QStringLiteral("auto-restart"), QMetaType::Bool}, {QStringLiteral("alarm"), QMetaType::Int},
        {QStringLiteral("title"), QMetaType::QString},     {QStringLiteral("sound"), QMetaType::QString},
        {QStringLiteral("pop-on-top"), QMetaType::Bool},   {QStringLiteral("repeat-alert"), QMetaType::Bool}};
    for (auto it = c.begin(); it != c.end(); ++it) {
        if (!keys.contains(it.key()))
            return fail("InvalidArgs", tr("Unknown key '%1': a timer takes kind, duration, auto-restart, alarm, title, "
                                          "sound, pop-on-top and repeat-alert.")
                                           .arg(it.key()));
        const QMetaType::Type type = keys.value(it.key());
        const bool fits = type == QMetaType::Int ? isWholeNumber(*it) : it->typeId() == type;
        if (!fits)
            return fail("InvalidArgs", tr("'%1' must be %2.")
                                           .arg(it.key(), type == QMetaType::Int    ? tr("a whole number")
                                                          : type == QMetaType::Bool ? tr("a boolean")
                                                                                    : tr("a string")));
    }
    return true;
}

// A sound of the list by its name, or a wave file that can be played.
bool RemoteControl::resolveSound(const QString& sound, LaunchRequest* r)
{
    const QStringList items = soundListItems();
    const auto named = std::find_if(items.begin(), items.end() - 1, [&sound](const QString& item) {
        return item.compare(sound, Qt::CaseInsensitive) == 0;
    });
    if (named != items.end() - 1) {
        const int index = int(named - items.begin());
        r->sound = index == SoundListNone ? SoundPick{} : builtinPick(services_.soundFolder, index);
        return true;
    }
    QString why;
    if (!services_.sound.canPlay(sound, &why))
        return fail("InvalidArgs",
                    tr("The sound '%1' is neither a sound of the list nor a wave file that can be played (%2).")
                        .arg(sound, why));
    r->sound = {sound, SoundListPlayFile, pickedFileName(sound)};
    return true;
}

bool RemoteControl::resolve(const QVariantMap& c, LaunchRequest* r)
{
    if (!checkKeys(c))
        return false;
    const std::optional<TimerKind> kind = kindNamed(c.value(QStringLiteral("kind")).toString());
    if (!kind)
        return fail("InvalidArgs", tr("Say which timer to start: count-down, count-up, alarm or stopwatch."));
    r->kind = *kind;
    if (r->kind == TimerKind::CountDown || r->kind == TimerKind::CountUp) {
        const std::optional<int32_t> secs = wholeNumber(c.value(QStringLiteral("duration")), 1, LongestDurationSecs);
        if (!secs)
            return fail("InvalidArgs", tr("'duration' must be from 1 second to 23:59:59, in seconds."));
        r->durationSecs = *secs;
    }
    r->autoRestart = c.value(QStringLiteral("auto-restart")).toBool();
    if (r->kind == TimerKind::AlarmClock) {
        const std::optional<int32_t> alarm = wholeNumber(c.value(QStringLiteral("alarm")), 0, DaySecs - 1);
        if (!alarm)
            return fail("InvalidArgs",
                        tr("'alarm' must be a time of day from 00:00:00 to 23:59:59, in seconds after midnight."));
        r->alarm = alarmSetting(*alarm);
    }
    r->title = c.value(QStringLiteral("title")).toString();
    if (c.contains(QStringLiteral("pop-on-top")))
        r->popOnTop = c.value(QStringLiteral("pop-on-top")).toBool();
    r->repeatAlert = c.value(QStringLiteral("repeat-alert")).toBool();
    return resolveSound(c.value(QStringLiteral("sound"), NoSound).toString(), r);
}

int RemoteControl::Launch(const QVariantMap& choices)
{
    if (callerGone())
        return 0;
    LaunchRequest request;
    if (!resolve(choices, &request))
        return 0;
    const int slot = main_.board().launch(request);
    if (slot < 0) {
        fail("AllTimersInUse", tr("all timers are in use"));
        return 0;
    }
    return slot + 1;
}

namespace {

// One timer is one line of tab-separated fields: a tab, a line break or a
// terminal's escape in a title is written as \t, \n, \x1b.
QString escaped(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
                 c.category() == QChar::Separator_Paragraph)
            out += QStringLiteral("\\x%1").arg(c.unicode(), c.unicode() > 0xff ? 4 : 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

} // namespace

QStringList RemoteControl::List()
{
    QStringList lines;
    const ClockReading now = services_.clock.now();
    for (int n = 0; n < SlotCount; ++n) {
        const Timer& timer = main_.board().timer(n);
        if (!timer.isActive())
            continue;
        // What the window shows at its next tick, also before its first.
        QString reading = timer.reading(now);
        if (timer.isPaused())
            reading += QLatin1Char(' ') + tr("(paused)");
        else if (const std::optional<qint64> late = timer.wentOffLateAt(); timer.hasGoneOff() && late)
            reading += QLatin1Char(' ') + tr("(expired, %1)").arg(lateNote(*late, now, services_.locale));
        else if (timer.hasGoneOff())
            reading += QLatin1Char(' ') + tr("(expired)");
        lines << QStringLiteral("%1\t%2\t%3\t%4")
                     .arg(n + 1)
                     .arg(escaped(timer.shownTitle()), kindName(timer.kind()), reading);
    }
    return lines;
}

QStringList RemoteControl::Recent()
{
    QStringList lines;
    const QList<LaunchRequest>& recent = main_.keeper().recent();
    for (qsizetype i = 0; i < recent.size(); ++i)
        lines << QStringLiteral("%1\t%2").arg(i + 1).arg(escaped(setupText(recent[i])));
    return lines;
}

int RemoteControl::Again(int number)
{
    if (callerGone())
        return 0;
    const QList<LaunchRequest>& recent = main_.keeper().recent();
    if (number < 1 || number > recent.size()) {
        fail("InvalidArgs", recent.isEmpty()
                                ? tr("There is no recent timer yet.")
                                : tr("There is no recent timer %1: there are %2.").arg(number).arg(recent.size()));
        return 0;
    }
    const int slot = main_.launchRecent(number - 1);
    if (slot < 0) {
        fail("AllTimersInUse", tr("all timers are in use"));
        return 0;
    }
    return slot + 1;
}

void RemoteControl::Close(int slot)
{
    if (const int n = slotIndex(slot); n >= 0)
        main_.board().window(n)->close();
}

void RemoteControl::HideAll()
{
    if (callerGone())
        return;
    main_.hideAll();
}

void RemoteControl::ShowAll()
{
    if (callerGone())
        return;
    main_.showAll();
}

void RemoteControl::CloseAll()
{
    if (callerGone())
        return;
    main_.closeAll();
}

void RemoteControl::Pause(int slot)
{
    const int n = slotIndex(slot);
    if (n >= 0 && main_.board().commands(n).pause)
        main_.board().pauseOrResume(n);
    else if (n >= 0)
        fail("InvalidArgs", tr("Timer %1 cannot be paused now.").arg(slot));
}

void RemoteControl::Resume(int slot)
{
    const int n = slotIndex(slot);
    if (n >= 0 && main_.board().commands(n).resume)
        main_.board().pauseOrResume(n);
    else if (n >= 0)
        fail("InvalidArgs", tr("Timer %1 is not paused.").arg(slot));
}

void RemoteControl::AddTime(int slot, int seconds)
{
    const int n = slotIndex(slot);
    if (n < 0)
        return;
    const TimerCommands can = main_.board().commands(n);
    if (!can.addTime || seconds <= 0)
        fail("InvalidArgs", tr("Timer %1 cannot be given %2 seconds more.").arg(slot).arg(seconds));
    else if (seconds > can.addTimeRoom)
        fail("InvalidArgs", tr("Timer %1 can be given at most %2 seconds more: no timer runs longer than 23:59:59.")
                                .arg(slot)
                                .arg(can.addTimeRoom));
    else
        main_.board().addTime(n, seconds);
}

void RemoteControl::Restart(int slot)
{
    const int n = slotIndex(slot);
    if (n >= 0 && main_.board().commands(n).restart)
        main_.board().restart(n);
    else if (n >= 0)
        fail("InvalidArgs", tr("Timer %1 cannot be restarted.").arg(slot));
}

void RemoteControl::Activate()
{
    if (callerGone())
        return;
    main_.bringToFront();
}

} // namespace quandrel
