// SPDX-License-Identifier: GPL-3.0-or-later
#include "timerwindow/timerwindow.h"

#include "platform/oneline.h"
#include "platform/pictures.h"
#include "platform/steadylabel.h"
#include "platform/timeformat.h"
#include "platform/windowops.h"
#include "timerwindow/timerwindowhost.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDir>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

namespace quandrel {
namespace {

const QColor ReadingRed(192, 0, 0);
constexpr int FlashIntervalMs = 500;  // the title's red and blue, and the restart alert's steps
constexpr int TitleWidthInEms = 16;   // the title box, and so the window, at least this wide
constexpr int TitleBarAllowance = 30; // room between rows for a window manager's title bar
constexpr int PlacesGap = 12;         // between the timer windows, and from the screen's edge
const QColor SeparatorGrey(224, 224, 224);

QFont scaledBold(const QFont& base, qreal factor)
{
    QFont font = base;
    font.setBold(true);
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * factor);
    else
        font.setPixelSize(qRound(font.pixelSize() * factor));
    return font;
}

QLabel* makeLabel(QWidget* parent, const char* objectName)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(objectName));
    return label;
}

QLabel* makePicture(QWidget* parent, const char* objectName, Picture resource, const QString& name, QLabel* buddy)
{
    QLabel* picture = makeLabel(parent, objectName);
    picture->setPixmap(loadPicture(resource, parent->devicePixelRatioF()));
    picture->setToolTip(name);
    picture->setAccessibleName(name);
    picture->setBuddy(buddy);
    buddy->setAccessibleDescription(name);
    return picture;
}

} // namespace

TimerWindow::TimerWindow(Timer& timer, Services& services, TimerWindowHost& host)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      timer_(timer), services_(services), host_(host)
{
    setObjectName(QStringLiteral("timerWindow%1").arg(timer.slot()));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QPixmap(QStringLiteral(":/images/timericon-48.png"))));
    // The menu of the window also comes up from the keyboard (the Menu key
    // brings it by itself).
    auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, [this] { showMenu(mapToGlobal(rect().center())); });
    flashTimer_ = services_.timers.create(TickSchedule::interval(FlashIntervalMs));
    flashTimer_->onTick = [this] { flash(); };
    restartFlashTimer_ = services_.timers.create(TickSchedule::interval(FlashIntervalMs));
    restartFlashTimer_->onTick = [this] { flashRestart(); };
    stopwatchTimer_ = services_.timers.create(TickSchedule::aligned(
        [this](const ClockReading& now) { return nextSecondAfterStart(timer_.times().stopwatch.origin, now.realMs); }));
    stopwatchTimer_->onTick = [this] { timer_.tickStopwatch(services_.clock.now().realMs); };
    buildControls();
    showClock(longTimeText(services_.clock.now().localTime(), services_.locale));
    showTitle(timer_.shownTitle());
    connect(&timer_, &Timer::readingChanged, this, &TimerWindow::showReading);
    connect(&timer_, &Timer::progressChanged, this, &TimerWindow::showProgress);
    connect(&timer_, &Timer::pausedChanged, this, &TimerWindow::showPaused);
    connect(&timer_, &Timer::alertEnded, this, &TimerWindow::endAlert);
    connect(&timer_, &Timer::titleChanged, this, &TimerWindow::showTitle);
}

void TimerWindow::showTitle(const QString& title)
{
    // A minimised window is named by its icon text: screen readers keep
    // announcing the timer by its title.
    setWindowTitle(title);
    setWindowIconText(title);
}

TimerWindow::~TimerWindow() = default;

void TimerWindow::buildControls()
{
    kindTitle_ = makeLabel(this, "kindTitle");
    kindTitle_->setFont(scaledBold(font(), 1.0));
    reading_ = makeLabel(this, "readingLabel");
    reading_->setFont(scaledBold(font(), 1.6));
    reading_->setText(tr("Start"));
    QPalette red = reading_->palette();
    red.setColor(QPalette::WindowText, ReadingRed);
    reading_->setPalette(red);
    kindTitle_->setBuddy(reading_);
    reading_->setAccessibleDescription(tr("Timer reading"));

    titleEdit_ = new QLineEdit(this);
    titleEdit_->setObjectName(QStringLiteral("titleBox"));
    titleEdit_->setToolTip(tr("Enter/Amend Timer title"));
    titleEdit_->setAccessibleName(tr("Timer title"));
    titleEdit_->setAccessibleDescription(titleEdit_->toolTip());
    titleEdit_->installEventFilter(this);
    keepToOneLine(titleEdit_);
    connect(titleEdit_, &QLineEdit::textChanged, &timer_, &Timer::setTitle);
    connect(titleEdit_, &QLineEdit::textEdited, this, [this] { host_.titleFocused(slot()); });

    pausedLabel_ = makeLabel(this, "pausedLabel");
    pausedLabel_->setText(tr("Paused"));
    pausedLabel_->hide();
    auto* readingRow = new QHBoxLayout;
    readingRow->addStretch(1);
    readingRow->addWidget(reading_);
    readingRow->addWidget(pausedLabel_);
    readingRow->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 6);
    layout->setSpacing(3);
    layout->addWidget(kindTitle_, 0, Qt::AlignHCenter);
    layout->addLayout(readingRow);
    layout->addWidget(titleEdit_);
    layout->addLayout(buildInfoLines());
    layout->addLayout(buildSettingsLines());
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(titleEdit_, stopwatchStartButton_);
    setTabOrder(stopwatchStartButton_, stopwatchResetButton_);
    holdWidths();
}

QLayout* TimerWindow::buildInfoLines()
{
    launchLine_ = makeLabel(this, "launchLine");
    clockLine_ = makeLabel(this, "clockLine");
    progressLine_ = makeLabel(this, "progressLine");
    expiredBanner_ = makeLabel(this, "expiredBanner");
    expiredBanner_->setText(tr("       EXPIRED!"));
    expiredBanner_->setFont(scaledBold(font(), 1.2));
    expiredBanner_->setAutoFillBackground(true); // covers the clock line beneath it
    expiredBanner_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    expiredBanner_->hide();

    const auto stopwatchButton = [this](const char* objectName, const QString& caption, const QString& tip) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(objectName));
        button->setToolTip(tip);
        button->setAccessibleDescription(tip);
        button->setFont(scaledBold(font(), 1.0));
        button->setAutoDefault(true); // Enter presses it, as Space does
        QPalette white = button->palette();
        white.setColor(QPalette::Button, Qt::white);
        button->setPalette(white);
        button->hide();
        return button;
    };
    stopwatchStartButton_ = stopwatchButton("stopwatchStartButton", tr("Start"), tr("Start/Stop Stopwatch"));
    connect(stopwatchStartButton_, &QPushButton::clicked, this, [this] { startOrStopStopwatch(); });
    stopwatchResetButton_ = stopwatchButton("stopwatchResetButton", tr("Reset"), tr("Reset Stopwatch"));
    connect(stopwatchResetButton_, &QPushButton::clicked, this, [this] { resetStopwatch(); });

    stopAlertButton_ = new QPushButton(tr("Stop alert"), this);
    stopAlertButton_->setObjectName(QStringLiteral("stopAlertButton"));
    stopAlertButton_->setToolTip(tr("Stop the repeating alert sound"));
    stopAlertButton_->setAccessibleDescription(stopAlertButton_->toolTip());
    stopAlertButton_->hide();
    connect(stopAlertButton_, &QPushButton::clicked, this, &TimerWindow::acknowledgeAlert);

    // The banner lies over the clock and progress lines, the stopwatch
    // buttons in their place in stopwatch mode.
    auto* info = new QGridLayout;
    info->setContentsMargins(0, 0, 0, 0);
    info->setVerticalSpacing(2);
    info->addWidget(launchLine_, 0, 0, 1, 2);
    info->addWidget(clockLine_, 1, 0, 1, 2);
    info->addWidget(progressLine_, 2, 0, 1, 2);
    info->addWidget(stopwatchStartButton_, 0, 0, 3, 1, Qt::AlignVCenter);
    info->addWidget(stopwatchResetButton_, 0, 1, 3, 1, Qt::AlignVCenter);
    info->addWidget(expiredBanner_, 1, 0, 2, 2);
    info->addWidget(stopAlertButton_, 3, 0, 1, 2);
    return info;
}

QLayout* TimerWindow::buildSettingsLines()
{
    auto* separator = new QFrame(this);
    separator->setObjectName(QStringLiteral("separator"));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Plain);
    separator->setLineWidth(2);
    QPalette grey = separator->palette();
    grey.setColor(QPalette::WindowText, SeparatorGrey);
    separator->setPalette(grey);

    autoRestartLabel_ = makeLabel(this, "autoRestartLabel");
    cyclesLabel_ = makeLabel(this, "cyclesLabel");
    cyclesLabel_->setAccessibleDescription(tr("Cycles completed"));
    auto* autoRow = new QHBoxLayout;
    autoRow->addWidget(
        makePicture(this, "autoRestartPicture", Picture::Restart, tr("Auto-restart"), autoRestartLabel_));
    autoRow->addWidget(autoRestartLabel_);
    autoRow->addSpacing(8);
    autoRow->addWidget(cyclesLabel_, 1);

    soundNameLabel_ = makeLabel(this, "soundNameLabel");
    auto* soundRow = new QHBoxLayout;
    soundRow->addWidget(makePicture(this, "soundPicture", Picture::Loudspeaker, tr("Alert sound"), soundNameLabel_));
    soundRow->addWidget(soundNameLabel_, 1);

    auto* lines = new QVBoxLayout;
    lines->setSpacing(3);
    lines->addWidget(separator);
    lines->addLayout(autoRow);
    lines->addLayout(soundRow);
    return lines;
}

void TimerWindow::holdWidths()
{
    QStringList clockShapes = timeOfDayShapes(services_.locale);
    for (QString& shape : clockShapes)
        shape = tr("Current Time: %1").arg(shape);
    holdLabelSize(clockLine_, clockShapes);
    // One width for every kind, wide enough for the longest progress line and
    // reading, so that the six windows tile evenly. The layout fixes the
    // window at its hint, so the width goes on the title box.
    QLabel progress(alarmProgress(-99999, 99999));
    holdLabelSize(&progress, {progress.text()});
    QLabel reading;
    reading.setFont(reading_->font());
    holdLabelSize(&reading, {QStringLiteral("-000:00:00"), QStringLiteral("12:00:00 PM")});
    const QMargins margins = layout()->contentsMargins();
    titleEdit_->setMinimumWidth(std::max(
        {fontMetrics().horizontalAdvance(QLatin1Char('M')) * TitleWidthInEms - margins.left() - margins.right(),
         progress.width(), reading.width()}));
}

void TimerWindow::showLaunch(const LaunchCaptions& captions)
{
    kindTitle_->setText(captions.kindTitle);
    reading_->setText(captions.reading);
    launchText_ = captions.launchLine;
    launchLine_->setText(launchText_);
    progressLine_->setText(captions.progress);
    autoRestartLabel_->setText(!captions.autoRestart ? tr("N/A") : *captions.autoRestart ? tr("Y") : tr("N"));
    const QString soundName = !captions.soundName             ? tr("N/A")
                              : captions.soundName->isEmpty() ? tr("None")
                                                              : *captions.soundName;
    showElided(soundNameLabel_, soundName, soundNameWidth());
    if (captions.stopwatch) {
        stopwatchStartButton_->show();
        stopwatchResetButton_->show();
        launchLine_->hide();
        clockLine_->hide();
        progressLine_->hide();
        holdLabelSize(reading_, {QStringLiteral("-00:00:00")});
    } else if (captions.counting) {
        reading_->setAlignment(Qt::AlignCenter);
        holdLabelSize(reading_, {captions.reading, QStringLiteral("-000:00:00")});
    } else if (!captions.progressWidest.isEmpty()) {
        holdLabelSize(progressLine_, {captions.progressWidest});
    }
    titleEdit_->setText(timer_.title());
    // A timer brought back from the last run may be paused, have cycles
    // behind it, or its stopwatch running.
    showPaused(timer_.isPaused());
    if (timer_.cycles() > 0)
        showCycles();
    if (timer_.stopwatchRunning())
        stopwatchStartButton_->setText(tr("Stop"));
    followStopwatch();
}

// The reading, progress and clock lines hold their size so that a new second
// only repaints them, and grow when a text would not fit whole (the clock
// set back under a waiting alarm, say).
void TimerWindow::showReading(const QString& face)
{
    showWhole(reading_, face);
}

void TimerWindow::showProgress(const QString& text)
{
    showWhole(progressLine_, text);
}

void TimerWindow::showClock(const QString& timeOfDay)
{
    showWhole(clockLine_, tr("Current Time: %1").arg(timeOfDay));
}

int TimerWindow::soundNameWidth() const
{
    return titleEdit_->minimumWidth() - 2 * fontMetrics().height();
}

void TimerWindow::showSoundFailed()
{
    const SoundPick& sound = timer_.sound();
    showElided(soundNameLabel_, sound.shownName, soundNameWidth());
    soundNameLabel_->setText(soundNameLabel_->text() + QLatin1Char('\n') + tr("could not be played"));
    soundNameLabel_->setToolTip(
        tr("%1 could not be played; a built-in sound played instead.").arg(QDir::toNativeSeparators(sound.path)));
    soundNameLabel_->setAccessibleDescription(soundNameLabel_->toolTip());
}

void TimerWindow::focusTitle()
{
    services_.windows.activate(this);
    services_.windows.setFocus(titleEdit_);
}

void TimerWindow::showCycles()
{
    cyclesLabel_->setText(tr("Cycles: %1").arg(timer_.cycles()));
}

void TimerWindow::showPaused(bool paused)
{
    pausedLabel_->setVisible(paused);
}

bool TimerWindow::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    switch (event->type()) {
    case QEvent::WindowActivate:
        if (open_) {
            host_.windowSeen(slot());
            acknowledgeAlert();
        }
        break;
    case QEvent::WindowStateChange:
        if (open_)
            host_.windowStateChanged(slot());
        followStopwatch();
        break;
    case QEvent::Show:
    case QEvent::Hide:
        followStopwatch();
        break;
    default:
        break;
    }
    return handled;
}

void TimerWindow::contextMenuEvent(QContextMenuEvent* event)
{
    showMenu(event->globalPos());
}

void TimerWindow::showMenu(const QPoint& at)
{
    const TimerCommands can = host_.commands(slot());
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (can.pause || can.resume)
        menu->addAction(can.pause ? tr("Pause") : tr("Resume"), this, [this] { host_.pauseOrResume(slot()); });
    if (can.addTime) {
        // Past 23:59:59 left there is no more time to give.
        for (const auto& [caption, secs] : {std::pair{tr("+1 min"), 60}, {tr("+5 min"), 300}}) {
            QAction* more = menu->addAction(caption, this, [this, secs = secs] { host_.addTime(slot(), secs); });
            more->setEnabled(secs <= can.addTimeRoom);
        }
    }
    if (can.restart)
        menu->addAction(tr("Restart"), this, [this] { host_.restart(slot()); });
    if (menu->isEmpty())
        delete menu;
    else
        menu->popup(at);
}

void TimerWindow::closeEvent(QCloseEvent* event)
{
    if (open_) {
        open_ = false;
        flashTimer_->setEnabled(false);
        restartFlashTimer_->setEnabled(false);
        stopwatchTimer_->setEnabled(false);
        host_.windowClosed(slot());
    }
    event->accept();
}

bool TimerWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Only the user's own moves count as putting the keyboard here: a click,
    // Tab, a shortcut or typing, not a window activated on its own.
    if (watched == titleEdit_ && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
            reason == Qt::ShortcutFocusReason)
            host_.titleFocused(slot());
    }
    return QWidget::eventFilter(watched, event);
}

QPoint TimerWindow::initialPosition(int slot, QSize windowSize, QRect available)
{
    const int column = slot % 3;
    const int row = slot / 3;
    const int x = available.right() - PlacesGap - (column + 1) * (windowSize.width() + PlacesGap) + PlacesGap;
    const int y = available.top() + PlacesGap + row * (windowSize.height() + PlacesGap + TitleBarAllowance);
    return {std::max(available.left(), x), std::max(available.top(), y)};
}

} // namespace quandrel
