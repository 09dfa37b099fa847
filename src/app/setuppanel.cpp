// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/setuppanel.h"

#include "engine/timearith.h"
#include "platform/oneline.h"
#include "platform/reversedscrollbar.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

namespace quandrel {
namespace {

template <typename W> W* named(W* widget, const char* objectName, const QString& tooltip = {})
{
    widget->setObjectName(QLatin1String(objectName));
    if (!tooltip.isEmpty()) {
        widget->setToolTip(tooltip);
        widget->setAccessibleDescription(tooltip);
    }
    return widget;
}

void setRadioChecked(QRadioButton* button, bool checked)
{
    // A lone radio button of an exclusive pair cannot be cleared otherwise.
    const bool exclusive = button->autoExclusive();
    button->setAutoExclusive(false);
    button->setChecked(checked);
    button->setAutoExclusive(exclusive);
}

} // namespace

SetupPanel::SetupPanel(QWidget* parent) : QWidget(parent)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(buildDurationFrame());
    column->addWidget(buildAlarmFrame());
    auto* row = new QHBoxLayout;
    row->addWidget(buildStopwatchFrame());
    row->addWidget(buildAlertTextFrame(), 1);
    column->addLayout(row);
    for (int bar = 0; bar < BarCount; ++bar)
        connect(bars_[bar], &ReversedScrollBar::logicalValueChanged, this, [this, bar] { showValue(Bar(bar)); });
    connect(countUpOption_, &QRadioButton::toggled, this, &SetupPanel::durationKindChosen);
    connect(countDownOption_, &QRadioButton::toggled, this, &SetupPanel::durationKindChosen);
    connect(alarmClockCheck_, &QCheckBox::toggled, this, &SetupPanel::alarmClockToggled);
    connect(stopwatchCheck_, &QCheckBox::toggled, this, &SetupPanel::stopwatchToggled);
}

void SetupPanel::makeBar(Bar bar, int bottom, int top, QWidget* frame, const char* boxName, const char* barName,
                         const QString& tip)
{
    // The box takes a typed value, the arrow keys and the mouse wheel; the
    // bar beside it is for the mouse.
    auto* box = named(new QLineEdit(frame), boxName, tip);
    box->setAlignment(Qt::AlignCenter);
    box->setAccessibleName(tip);
    if (bar == AlarmHalf) {
        box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[AaPp][Mm]?")), box));
        box->setAccessibleDescription(tr("Type AM or PM; the Up and Down arrows change it"));
    } else {
        box->setValidator(new QIntValidator(bottom, top, box));
        box->setAccessibleDescription(
            tr("Type a number from %1 to %2; the Up arrow raises it, Down lowers it").arg(bottom).arg(top));
    }
    box->installEventFilter(this);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("MMM")) + 10);
    auto* scrollBar = named(new ReversedScrollBar(bottom, top, frame), barName);
    scrollBar->setAccessibleName(box->toolTip());
    scrollBar->setAccessibleDescription(tr("The upper arrow raises the value, the lower one lowers it"));
    scrollBar->setFocusPolicy(Qt::NoFocus);
    scrollBar->setFixedHeight(box->sizeHint().height() + 6);
    bars_[bar] = scrollBar;
    boxes_[bar] = box;
}

QWidget* SetupPanel::entry(Bar bar, QWidget* frame, const QString& unit, const char* unitName)
{
    auto* widget = new QWidget(frame);
    auto* row = new QHBoxLayout(widget);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    row->addWidget(boxes_[bar]);
    row->addWidget(bars_[bar]);
    if (!unit.isEmpty()) {
        auto* label = named(new QLabel(unit, frame), unitName);
        label->setBuddy(boxes_[bar]);
        row->addWidget(label);
    }
    row->addStretch(1);
    return widget;
}

QWidget* SetupPanel::buildDurationFrame()
{
    auto* frame = named(new QGroupBox(tr("Duration Timer"), this), "durationFrame");
    countUpOption_ = named(new QRadioButton(tr("Count Up"), frame), "countUpOption",
                           tr("Enable Count Up Timer (for chosen duration)"));
    countDownOption_ = named(new QRadioButton(tr("Count Down"), frame), "countDownOption",
                             tr("Enable Count Down Timer (for chosen duration)"));
    autostartCheck_ = named(new QCheckBox(tr("Autostart"), frame), "autostartCheck",
                            tr("Auto-restart Count Up/Down, when finished "));
    makeBar(Hours, 0, 23, frame, "hoursBox", "hoursBar", tr("Timer duration: hours"));
    makeBar(Minutes, 0, 59, frame, "minutesBox", "minutesBar", tr("Timer duration: minutes"));
    makeBar(Seconds, 0, 59, frame, "secondsBox", "secondsBar", tr("Timer duration: seconds"));
    auto* grid = new QGridLayout(frame);
    grid->addWidget(countUpOption_, 0, 0);
    grid->addWidget(countDownOption_, 0, 1);
    grid->addWidget(autostartCheck_, 0, 2);
    grid->addWidget(entry(Hours, frame, tr("hrs"), "hoursCaption"), 1, 0);
    grid->addWidget(entry(Minutes, frame, tr("mins"), "minutesCaption"), 1, 1);
    grid->addWidget(entry(Seconds, frame, tr("secs"), "secondsCaption"), 1, 2);
    return frame;
}

QWidget* SetupPanel::buildAlarmFrame()
{
    auto* frame = named(new QGroupBox(tr("Alarm Clock"), this), "alarmFrame");
    alarmClockCheck_ = named(new QCheckBox(tr("Activate"), frame), "alarmClockCheck", tr("Enable Alarm Clock Timer"));
    alarmClockCheck_->setAccessibleName(tr("Activate Alarm Clock"));
    makeBar(AlarmHour, 1, 12, frame, "alarmHourBox", "alarmHourBar", tr("Alarm time: hour"));
    makeBar(AlarmMinute, 0, 59, frame, "alarmMinuteBox", "alarmMinuteBar", tr("Alarm time: minutes"));
    makeBar(AlarmSecond, 0, 59, frame, "alarmSecondBox", "alarmSecondBar", tr("Alarm time: seconds"));
    makeBar(AlarmHalf, 1, 2, frame, "alarmHalfBox", "alarmHalfBar", tr("Alarm time: AM/PM"));
    auto* column = new QVBoxLayout(frame);
    column->addWidget(alarmClockCheck_);
    auto* row = new QHBoxLayout;
    for (Bar bar : {AlarmHour, AlarmMinute, AlarmSecond, AlarmHalf})
        row->addWidget(entry(bar, frame));
    column->addLayout(row);
    return frame;
}

QWidget* SetupPanel::buildStopwatchFrame()
{
    auto* frame = named(new QGroupBox(tr("StopWatch"), this), "stopwatchFrame");
    stopwatchCheck_ = named(new QCheckBox(tr("Activate"), frame), "stopwatchCheck", tr("Enable Stopwatch Timer"));
    stopwatchCheck_->setAccessibleName(tr("Activate StopWatch"));
    (new QVBoxLayout(frame))->addWidget(stopwatchCheck_, 0, Qt::AlignTop);
    return frame;
}

QWidget* SetupPanel::buildAlertTextFrame()
{
    auto* frame = named(new QGroupBox(tr("Alert Text"), this), "alertTextFrame");
    alertTextEdit_ = named(new QLineEdit(frame), "alertTextBox",
                           tr("Enter text to show as Timer title, and flash when Timer goes off"));
    alertTextEdit_->setAccessibleName(tr("Alert Text"));
    alertTextEdit_->installEventFilter(this);
    keepToOneLine(alertTextEdit_);
    (new QVBoxLayout(frame))->addWidget(alertTextEdit_);
    return frame;
}

QList<QWidget*> SetupPanel::tabOrder() const
{
    QList<QWidget*> order{countUpOption_, countDownOption_, autostartCheck_};
    order << boxes_[Hours] << boxes_[Minutes] << boxes_[Seconds] << alarmClockCheck_;
    order << boxes_[AlarmHour] << boxes_[AlarmMinute] << boxes_[AlarmSecond] << boxes_[AlarmHalf];
    order << stopwatchCheck_ << alertTextEdit_;
    return order;
}

void SetupPanel::setDefaults()
{
    // The bars may already hold these values, in which case no change notice
    // comes: show each value directly.
    const std::array<std::pair<Bar, int>, BarCount> startValues{
        {{AlarmHour, 1}, {AlarmMinute, 0}, {AlarmSecond, 0}, {AlarmHalf, 1}, {Hours, 1}, {Minutes, 0}, {Seconds, 0}}};
    for (const auto& [bar, value] : startValues) {
        const QSignalBlocker quiet(bars_[bar]);
        bars_[bar]->setShownValue(value);
        showValue(bar);
    }
    alarmClockCheck_->setChecked(true);
    alertTextEdit_->clear();
}

void SetupPanel::showValue(Bar bar)
{
    const int value = bars_[bar]->shownValue();
    switch (bar) {
    case AlarmHour:
        boxes_[bar]->setText(QString::number(value));
        break;
    case AlarmHalf:
        if (value == 1 || value == 2)
            boxes_[bar]->setText(value == 1 ? QStringLiteral("AM") : QStringLiteral("PM"));
        break;
    default:
        boxes_[bar]->setText(twoDigits(value));
        break;
    }
}

void SetupPanel::enableBars(Bar first, Bar last, bool enabled)
{
    for (int bar = first; bar <= last; ++bar) {
        bars_[bar]->setEnabled(enabled);
        boxes_[bar]->setEnabled(enabled);
    }
}

void SetupPanel::takeTyped(Bar bar)
{
    QString text = boxes_[bar]->text().trimmed();
    int cursor = 0;
    if (boxes_[bar]->validator()->validate(text, cursor) == QValidator::Acceptable)
        bars_[bar]->setShownValue(bar != AlarmHalf ? text.toInt() : text.startsWith(u'p', Qt::CaseInsensitive) ? 2 : 1);
    // What the box writes for the value, or the value it had: a number
    // outside the box's range is refused.
    showValue(bar);
}

void SetupPanel::step(Bar bar, int by)
{
    takeTyped(bar);
    bars_[bar]->setShownValue(std::clamp(bars_[bar]->shownValue() + by, bars_[bar]->bottom(), bars_[bar]->top()));
    boxes_[bar]->selectAll();
}

void SetupPanel::durationKindChosen(bool chosen)
{
    if (!chosen)
        return; // a deselected option runs nothing
    autostartCheck_->setEnabled(true);
    alarmClockCheck_->setChecked(false);
    stopwatchCheck_->setChecked(false);
    enableBars(AlarmHour, AlarmHalf, false);
    enableBars(Hours, Seconds, true);
    updateKindChosen();
}

void SetupPanel::alarmClockToggled(bool ticked)
{
    if (!ticked) {
        enableBars(AlarmHour, AlarmHalf, false);
        updateKindChosen();
        return;
    }
    enableBars(Hours, Seconds, false);
    setRadioChecked(countUpOption_, false);
    setRadioChecked(countDownOption_, false);
    autostartCheck_->setChecked(false);
    autostartCheck_->setEnabled(false);
    stopwatchCheck_->setChecked(false);
    enableBars(AlarmHour, AlarmHalf, true);
    updateKindChosen();
}

void SetupPanel::stopwatchToggled(bool ticked)
{
    if (!ticked) {
        updateKindChosen();
        return;
    }
    alarmClockCheck_->setChecked(false);
    enableBars(Hours, Seconds, false);
    setRadioChecked(countUpOption_, false);
    setRadioChecked(countDownOption_, false);
    autostartCheck_->setChecked(false);
    autostartCheck_->setEnabled(false);
    enableBars(AlarmHour, AlarmHalf, false);
    updateKindChosen();
}

void SetupPanel::updateKindChosen()
{
    const bool chosen = countUpOption_->isChecked() || countDownOption_->isChecked() || alarmClockCheck_->isChecked() ||
                        stopwatchCheck_->isChecked();
    if (chosen == kindChosen_)
        return;
    kindChosen_ = chosen;
    emit kindChosenChanged(chosen);
}

QWidget* SetupPanel::alertTextEdit() const
{
    return alertTextEdit_;
}

bool SetupPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == alertTextEdit_ && event->type() == QEvent::FocusIn)
        emit alertTextFocused();
    const auto box = std::find(boxes_.begin(), boxes_.end(), watched);
    if (box == boxes_.end())
        return QWidget::eventFilter(watched, event);
    const Bar bar = Bar(box - boxes_.begin());
    switch (event->type()) {
    case QEvent::FocusIn: // as a spin box does: what is typed replaces the value
        QTimer::singleShot(0, *box, &QLineEdit::selectAll);
        break;
    case QEvent::FocusOut:
        takeTyped(bar);
        break;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            takeTyped(bar);
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(bar, key == Qt::Key_Up ? 1 : -1);
            return true;
        }
        break;
    }
    case QEvent::Wheel:
        if (const int turn = static_cast<QWheelEvent*>(event)->angleDelta().y(); turn != 0)
            step(bar, turn > 0 ? 1 : -1);
        return true;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

LaunchRequest SetupPanel::request()
{
    for (int bar = 0; bar < BarCount; ++bar)
        takeTyped(Bar(bar));
    LaunchRequest r;
    if (countUpOption_->isChecked())
        r.kind = TimerKind::CountUp;
    else if (countDownOption_->isChecked())
        r.kind = TimerKind::CountDown;
    else if (alarmClockCheck_->isChecked())
        r.kind = TimerKind::AlarmClock;
    else
        r.kind = TimerKind::Stopwatch;
    r.durationSecs = bars_[Hours]->shownValue() * SecsPerHour + bars_[Minutes]->shownValue() * SecsPerMinute +
                     bars_[Seconds]->shownValue();
    r.autoRestart = autostartCheck_->isChecked();
    r.alarm = {bars_[AlarmHour]->shownValue(), bars_[AlarmMinute]->shownValue(), bars_[AlarmSecond]->shownValue(),
               boxes_[AlarmHalf]->text() == QLatin1String("PM")};
    r.title = alertTextEdit_->text();
    return r;
}

} // namespace quandrel
