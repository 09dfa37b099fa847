// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/timerfile.h"

#include "engine/alerts.h"
#include "engine/launch.h"
#include "engine/timearith.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>
#include <cmath>
#include <utility>

namespace quandrel {
namespace {

constexpr std::array<std::pair<TimerKind, const char*>, 4> KindNames{{
    {TimerKind::CountDown, "count-down"},
    {TimerKind::CountUp, "count-up"},
    {TimerKind::AlarmClock, "alarm"},
    {TimerKind::Stopwatch, "stopwatch"},
}};

// The largest whole number a JSON number holds exactly.
constexpr qint64 ExactLimit = qint64(1) << 53;

QJsonObject timerObject(const SavedTimer& s)
{
    const TimerTimes& t = s.times;
    QJsonObject o;
    o[QLatin1String("slot")] = s.slot + 1;
    for (const auto& [kind, name] : KindNames)
        if (kind == t.kind)
            o[QLatin1String("kind")] = QLatin1String(name);
    o[QLatin1String("title")] = s.title;
    o[QLatin1String("sound")] = QJsonObject{{QLatin1String("path"), s.sound.path},
                                            {QLatin1String("list"), s.sound.listIndex},
                                            {QLatin1String("name"), s.sound.shownName}};
    if (s.popOnTop)
        o[QLatin1String("popOnTop")] = *s.popOnTop;
    if (s.repeatAlert)
        o[QLatin1String("repeatAlert")] = true;
    o[QLatin1String("launchedAt")] = double(s.launchedAt);
    o[QLatin1String("goneOff")] = s.goneOff;
    if (s.wentOffAt)
        o[QLatin1String("wentOffAt")] = double(*s.wentOffAt);
    o[QLatin1String("duration")] = t.durationSecs;
    o[QLatin1String("autoRestart")] = t.autoRestart;
    o[QLatin1String("cycles")] = s.cycles;
    o[QLatin1String("startedAt")] = double(t.durationStart);
    o[QLatin1String("paused")] = t.paused;
    o[QLatin1String("pausedAt")] = double(t.pausedAt);
    o[QLatin1String("alarm")] = QJsonObject{{QLatin1String("timeOfDay"), t.alarmTimeOfDay},
                                            {QLatin1String("wait"), t.alarmWait},
                                            {QLatin1String("start"), double(t.alarmStart)},
                                            {QLatin1String("onRealTime"), t.alarmOnRealTime}};
    o[QLatin1String("stopwatch")] = QJsonObject{{QLatin1String("origin"), double(t.stopwatch.origin)},
                                                {QLatin1String("banked"), double(t.stopwatch.bankedMs)},
                                                {QLatin1String("running"), t.stopwatchRunning}};
    return o;
}

// Takes the values of one timer's object, each checked against its range;
// the first one that is wrong is the reason the file is refused.
class TimerReader {
public:
    explicit TimerReader(QJsonObject object) : object_(std::move(object)) {}
    QString error;

    qint64 number(const char* key, qint64 lowest, qint64 highest) { return numberIn(object_, key, lowest, highest); }
    qint64 numberIn(const QJsonObject& o, const char* key, qint64 lowest, qint64 highest)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        const double d = v.toDouble(std::nan(""));
        if (!v.isDouble() || d != std::floor(d) || d < double(lowest) || d > double(highest)) {
            fail(key,
                 QCoreApplication::translate("TimerFile", "a whole number from %1 to %2").arg(lowest).arg(highest));
            return lowest;
        }
        return qint64(d);
    }
    qint64 instant(const char* key) { return number(key, -ExactLimit, ExactLimit); }
    bool flag(const char* key) { return flagIn(object_, key); }
    bool flagIn(const QJsonObject& o, const char* key)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (!v.isBool())
            fail(key, QCoreApplication::translate("TimerFile", "true or false"));
        return v.toBool();
    }
    QString textIn(const QJsonObject& o, const char* key)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (!v.isString())
            fail(key, QCoreApplication::translate("TimerFile", "a text"));
        return v.toString();
    }
    QJsonObject part(const char* key)
    {
        const QJsonValue v = object_.value(QLatin1String(key));
        if (!v.isObject())
            fail(key, QCoreApplication::translate("TimerFile", "an object"));
        return v.toObject();
    }
    const QJsonObject& object() const { return object_; }

private:
    void fail(const char* key, const QString& wanted)
    {
        if (error.isEmpty())
            error = QCoreApplication::translate("TimerFile", "\"%1\" is not %2").arg(QLatin1String(key), wanted);
    }
    QJsonObject object_;
};

TimerKind kindNamed(const QString& name)
{
    for (const auto& [kind, text] : KindNames)
        if (name == QLatin1String(text))
            return kind;
    return TimerKind::None;
}

TimerKind readKind(TimerReader& r)
{
    const TimerKind kind = kindNamed(r.textIn(r.object(), "kind"));
    if (kind == TimerKind::None && r.error.isEmpty())
        r.error = QCoreApplication::translate("TimerFile", "\"kind\" is not a kind of timer");
    return kind;
}

SoundPick readSound(TimerReader& r)
{
    const QJsonObject sound = r.part("sound");
    SoundPick pick;
    pick.path = r.textIn(sound, "path");
    pick.listIndex = int(r.numberIn(sound, "list", SoundListNone, SoundListPlayFile));
    pick.shownName = r.textIn(sound, "name");
    return pick;
}

SavedTimer readTimer(TimerReader& r)
{
    SavedTimer s;
    TimerTimes& t = s.times;
    s.slot = int(r.number("slot", 1, SlotCount)) - 1;
    t.kind = readKind(r);
    s.title = r.textIn(r.object(), "title");
    s.sound = readSound(r);
    if (r.object().contains(QLatin1String("popOnTop")))
        s.popOnTop = r.flag("popOnTop");
    if (r.object().contains(QLatin1String("repeatAlert")))
        s.repeatAlert = r.flag("repeatAlert");
    s.launchedAt = r.instant("launchedAt");
    s.goneOff = r.flag("goneOff");
    if (r.object().contains(QLatin1String("wentOffAt")))
        s.wentOffAt = r.instant("wentOffAt");
    t.durationSecs = int32_t(r.number("duration", 0, LongestDurationSecs));
    t.autoRestart = r.flag("autoRestart");
    s.cycles = int(r.number("cycles", 0, AlertTickWrap - 1));
    t.durationStart = r.instant("startedAt");
    t.paused = r.flag("paused");
    t.pausedAt = r.instant("pausedAt");
    const QJsonObject alarm = r.part("alarm");
    t.alarmTimeOfDay = int32_t(r.numberIn(alarm, "timeOfDay", 0, LongestDurationSecs));
    t.alarmWait = int32_t(r.numberIn(alarm, "wait", 0, INT32_MAX));
    t.alarmStart = r.numberIn(alarm, "start", -ExactLimit, ExactLimit);
    t.alarmOnRealTime = r.flagIn(alarm, "onRealTime");
    const QJsonObject stopwatch = r.part("stopwatch");
    t.stopwatch.origin = r.numberIn(stopwatch, "origin", -ExactLimit, ExactLimit);
    t.stopwatch.bankedMs = r.numberIn(stopwatch, "banked", 0, qint64(StopwatchMaxSecs + 1) * 1000);
    t.stopwatchRunning = r.flagIn(stopwatch, "running");
    return s;
}

QJsonObject soundObject(const SoundPick& sound)
{
    return QJsonObject{{QLatin1String("path"), sound.path},
                       {QLatin1String("list"), sound.listIndex},
                       {QLatin1String("name"), sound.shownName}};
}

QString kindName(TimerKind kind)
{
    for (const auto& [each, name] : KindNames)
        if (each == kind)
            return QLatin1String(name);
    return {};
}

bool sameSetup(const LaunchRequest& a, const LaunchRequest& b)
{
    const bool duration = a.kind == TimerKind::CountDown || a.kind == TimerKind::CountUp;
    const bool alarm = a.kind == TimerKind::AlarmClock;
    return a.kind == b.kind && (!duration || (a.durationSecs == b.durationSecs && a.autoRestart == b.autoRestart)) &&
           (!alarm || alarmSecondsOfDay(a.alarm.hour12, a.alarm.minute, a.alarm.second, a.alarm.pm) ==
                          alarmSecondsOfDay(b.alarm.hour12, b.alarm.minute, b.alarm.second, b.alarm.pm)) &&
           a.title == b.title && a.sound.path == b.sound.path && a.popOnTop == b.popOnTop &&
           a.repeatAlert == b.repeatAlert;
}

} // namespace

QList<LaunchRequest> withLaunched(QList<LaunchRequest> recent, const LaunchRequest& launched)
{
    recent.removeIf([&launched](const LaunchRequest& r) { return sameSetup(r, launched); });
    recent.prepend(launched);
    while (recent.size() > RecentCount)
        recent.removeLast();
    return recent;
}

QString setupText(const LaunchRequest& s)
{
    QString what = kindName(s.kind);
    if (s.kind == TimerKind::CountDown || s.kind == TimerKind::CountUp)
        what += QLatin1Char(' ') + durationText(s.durationSecs);
    else if (s.kind == TimerKind::AlarmClock)
        what += QLatin1Char(' ') + alarmSettingText(s.alarm);
    return s.title.isEmpty() ? what : s.title + QStringLiteral(" — ") + what;
}

QByteArray writeRecentFile(const QList<LaunchRequest>& recent)
{
    QJsonArray list;
    for (const LaunchRequest& r : recent) {
        QJsonObject o{
            {QLatin1String("kind"), kindName(r.kind)},
            {QLatin1String("duration"), r.durationSecs},
            {QLatin1String("autoRestart"), r.autoRestart},
            {QLatin1String("alarm"), alarmSecondsOfDay(r.alarm.hour12, r.alarm.minute, r.alarm.second, r.alarm.pm)},
            {QLatin1String("title"), r.title},
            {QLatin1String("sound"), soundObject(r.sound)},
            {QLatin1String("repeatAlert"), r.repeatAlert}};
        if (r.popOnTop)
            o[QLatin1String("popOnTop")] = *r.popOnTop;
        list.append(o);
    }
    const QJsonObject root{{QLatin1String("format"), TimerFileFormat}, {QLatin1String("recent"), list}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QList<LaunchRequest> readRecentFile(const QByteArray& bytes, QString* error)
{
    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    const QJsonValue list = document.object().value(QLatin1String("recent"));
    QList<LaunchRequest> recent;
    if (document.object().value(QLatin1String("format")).toDouble() != TimerFileFormat || !list.isArray()) {
        *error = QCoreApplication::translate("TimerFile", "it is not a file of Quandrel's recent timers");
        return recent;
    }
    for (const QJsonValue& value : list.toArray()) {
        TimerReader r(value.toObject());
        LaunchRequest s;
        s.kind = readKind(r);
        s.durationSecs = int32_t(r.number("duration", 0, LongestDurationSecs));
        s.autoRestart = r.flag("autoRestart");
        s.alarm = alarmSetting(int32_t(r.number("alarm", 0, LongestDurationSecs)));
        s.title = r.textIn(r.object(), "title");
        s.sound = readSound(r);
        if (r.object().contains(QLatin1String("popOnTop")))
            s.popOnTop = r.flag("popOnTop");
        s.repeatAlert = r.flag("repeatAlert");
        if (!r.error.isEmpty() || recent.size() == RecentCount) {
            *error = r.error.isEmpty() ? QCoreApplication::translate("TimerFile", "it holds too many") : r.error;
            return {};
        }
        recent.append(s);
    }
    return recent;
}

QByteArray writeTimerFile(const QList<SavedTimer>& timers)
{
    QJsonArray list;
    for (const SavedTimer& s : timers)
        list.append(timerObject(s));
    const QJsonObject root{{QLatin1String("format"), TimerFileFormat}, {QLatin1String("timers"), list}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

TimerFileContents readTimerFile(const QByteArray& bytes)
{
    TimerFileContents contents;
    QJsonParseError parsed{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parsed);
    const QJsonValue format = document.object().value(QLatin1String("format"));
    const QJsonValue timers = document.object().value(QLatin1String("timers"));
    if (parsed.error != QJsonParseError::NoError) {
        contents.error = QCoreApplication::translate("TimerFile", "it is not JSON (%1 at byte %2)")
                             .arg(parsed.errorString())
                             .arg(parsed.offset);
    } else if (format.toDouble() > TimerFileFormat) {
        contents.error = QCoreApplication::translate("TimerFile", "it was written by a later Quandrel (format %1)")
                             .arg(format.toDouble());
    } else if (format.toDouble() != TimerFileFormat || !timers.isArray()) {
        contents.error = QCoreApplication::translate("TimerFile", "it is not a file of Quandrel's timers");
    }
    if (!contents.error.isEmpty())
        return contents;
    std::array<bool, SlotCount> taken{};
    for (const QJsonValue& value : timers.toArray()) {
        TimerReader reader(value.toObject());
        SavedTimer timer = readTimer(reader);
        if (reader.error.isEmpty() && std::exchange(taken[size_t(timer.slot)], true))
            reader.error = QCoreApplication::translate("TimerFile", "two timers are in slot %1").arg(timer.slot + 1);
        if (!value.isObject() || !reader.error.isEmpty()) {
            contents.error =
                QCoreApplication::translate("TimerFile", "timer %1: %2")
                    .arg(contents.timers.size() + 1)
                    .arg(value.isObject() ? reader.error : QCoreApplication::translate("TimerFile", "not an object"));
            contents.timers.clear();
            return contents;
        }
        contents.timers.append(timer);
    }
    return contents;
}

} // namespace quandrel
