// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"

#include "app/commandline.h"
#include "app/setuppanel.h"
#include "app/timerkeeper.h"
#include "app/traymenu.h"
#include "app/windowcommands.h"
#include "engine/ticks.h"
#include "engine/timerfile.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/pictures.h"
#include "platform/sounddevice.h"
#include "platform/steadylabel.h"
#include "platform/timeformat.h"
#include "platform/windowops.h"
#include "sound/alertplayer.h"
#include "sound/extraction.h"
#include "sound/soundchoice.h"
#include "timerwindow/timerwindow.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace quandrel {
namespace {
constexpr int LogoSize = 64; // the logo picture's size

} // namespace

QString MainWindow::runningCountText(int count)
{
    return tr("There are Currently %n Timer(s) running", nullptr, count);
}

MainWindow::MainWindow(Services& services, QWidget* parent) : QWidget(parent), services_(services)
{
    setObjectName(QStringLiteral("mainWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Quandrel"));
    board_ = std::make_unique<TimerBoard>(services_, *this);
    player_ = std::make_unique<AlertPlayer>(services_, *board_);
    keeper_ = std::make_unique<TimerKeeper>(*board_, services_);
    // Closing a timer, or giving it more time, silences its alert at once.
    connect(board_.get(), &TimerBoard::alertEnded, player_.get(), &AlertPlayer::silence);
    clockTimer_ = services_.timers.create(TickSchedule::aligned(nextLocalSecond));
    clockTimer_->onTick = [this] { tickClock(); };
    connect(board_.get(), &TimerBoard::watchedChanged, this, &MainWindow::followClock);

    setupPanel_ = new SetupPanel(this);
    soundChoice_ = new SoundChoice(services_, this);
    soundChoice_->setPlayer(player_.get());
    player_->beforeAlert = [this] { soundChoice_->stopTestPlay(); };
    windowCommands_ = new WindowCommands(*board_, this);
    windowCommands_->offerPopOnTop(services_.windows.canRaise());
    connect(board_.get(), &TimerBoard::hiddenChanged, windowCommands_, &WindowCommands::showHiddenState);
    buildLaunchButton();
    connect(setupPanel_, &SetupPanel::kindChosenChanged, launchButton_, &QPushButton::setEnabled);
    connect(setupPanel_, &SetupPanel::alertTextFocused, this, [this] { board_->fieldFocused(FocusAlertText); });
    connect(soundChoice_, &SoundChoice::soundListFocused, this, [this] { board_->fieldFocused(FocusSoundList); });

    // The setup frames on the left, sound, clock and commands on the right,
    // the launch button across the bottom.
    auto* right = new QVBoxLayout;
    right->addLayout(buildBrand());
    right->addWidget(soundChoice_);
    right->addWidget(buildClockFrame());
    right->addWidget(windowCommands_);
    right->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addWidget(setupPanel_, 3);
    columns->addLayout(right, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    auto* launchRow = new QHBoxLayout;
    launchRow->addWidget(launchButton_, 1);
    launchRow->addWidget(buildRecentButton());
    layout->addLayout(launchRow);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    // Keyboard order follows the frames.
    QList<QWidget*> order = setupPanel_->tabOrder();
    order << soundChoice_->soundList() << soundChoice_->testPlayButton() << soundChoice_->repeatCheck()
          << windowCommands_->tabOrder() << launchButton_ << recentButton_;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

MainWindow::~MainWindow()
{
    shutDown();
}

void MainWindow::buildLaunchButton()
{
    launchButton_ = new QPushButton(tr("LaunchTimer"), this);
    launchButton_->setObjectName(QStringLiteral("launchButton"));
    launchButton_->setToolTip(tr("Launch Duration Timer/Alarm Clock Timer/Stopwatch Timer"));
    launchButton_->setAccessibleDescription(launchButton_->toolTip());
    QFont bold = launchButton_->font();
    bold.setBold(true);
    launchButton_->setFont(bold);
    launchButton_->setMinimumHeight(launchButton_->sizeHint().height() * 3 / 2);
    launchButton_->setEnabled(false);
    launchButton_->setAutoDefault(true); // Enter presses it, as Space does
    connect(launchButton_, &QPushButton::clicked, this, &MainWindow::launchTimer);
}

QLayout* MainWindow::buildBrand()
{
    logo_ = new QLabel(this);
    logo_->setObjectName(QStringLiteral("logo"));
    logo_->setAccessibleName(tr("Quandrel logo"));
    versionLabel_ = new QLabel(this);
    versionLabel_->setObjectName(QStringLiteral("versionLabel"));
    creditLabel_ = new QLabel(this);
    creditLabel_->setObjectName(QStringLiteral("creditLabel"));
    creditLabel_->setWordWrap(true);
    auto* brand = new QHBoxLayout;
    brand->addWidget(logo_);
    auto* text = new QVBoxLayout;
    text->addWidget(versionLabel_);
    text->addWidget(creditLabel_);
    brand->addLayout(text, 1);
    return brand;
}

QWidget* MainWindow::buildClockFrame()
{
    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("clockFrame"));
    frame->setAccessibleName(tr("Current Time"));
    auto* caption = new QLabel(tr("Current Time:"), frame);
    caption->setObjectName(QStringLiteral("clockCaption"));
    clockLabel_ = new QLabel(frame);
    clockLabel_->setObjectName(QStringLiteral("clockLabel"));
    clockLabel_->setAccessibleDescription(tr("Current Time"));
    caption->setBuddy(clockLabel_);
    runningCountLine_ = new QLabel(frame);
    runningCountLine_->setObjectName(QStringLiteral("runningCountLine"));
    runningCountLine_->setAccessibleDescription(tr("Number of timers running"));
    QFont bold = runningCountLine_->font();
    bold.setBold(true);
    runningCountLine_->setFont(bold);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(caption, 0, 0);
    grid->addWidget(clockLabel_, 0, 1, Qt::AlignLeft);
    grid->addWidget(runningCountLine_, 1, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    return frame;
}

QString MainWindow::timeOfDay() const
{
    return longTimeText(services_.clock.now().localTime(), services_.locale);
}

void MainWindow::start()
{
    // The pictures are not needed to lay the window out: they come a moment
    // after it is on the screen, in the place held for them.
    logo_->setFixedSize(LogoSize, LogoSize);
    QTimer::singleShot(0, this, [this] {
        setWindowIcon(QIcon(QPixmap(QStringLiteral(":/images/mainicon-48.png"))));
        logo_->setPixmap(loadPicture(Picture::Logo, devicePixelRatioF()));
    });
    clockLabel_->setText(timeOfDay());
    holdLabelSize(clockLabel_, timeOfDayShapes(services_.locale));
    versionLabel_->setText(QStringLiteral("v ") + Version);
    creditLabel_->setText(tr("Quandrel: six timers, alarms and stopwatches at once"));
    missingRecordings_ = extractRecordings(services_.soundFolder);
    soundChoice_->fillList();
    setupPanel_->setDefaults();
    followClock();
    // Wide enough for every count, so that the frames stand still as it changes.
    QStringList counts;
    for (int count = 0; count <= SlotCount; ++count)
        counts << runningCountText(count);
    holdLabelSize(runningCountLine_, counts);
    runningCountChanged(board_->runningCount());
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(centredPosition(screen->size(), frameGeometry().size()));
    player_->start();
    if (!missingRecordings_.isEmpty()) {
        services_.dialogs.message(QStringLiteral("Quandrel"),
                                  tr("These sounds could not be saved to %1 and will not play: %2.")
                                      .arg(services_.soundFolder, missingRecordings_.join(QStringLiteral(", "))),
                                  MessageIcon::Warning);
    }
}

QPoint MainWindow::centredPosition(QSize screen, QSize window)
{
    // Halved with truncation toward zero; a window larger than the screen
    // gets a negative position rather than being clamped.
    return {(screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2};
}

void MainWindow::launchTimer()
{
    LaunchRequest request = setupPanel_->request();
    const bool duration = request.kind == TimerKind::CountDown || request.kind == TimerKind::CountUp;
    if (duration && request.durationSecs == 0) {
        services_.dialogs.message(QStringLiteral("Quandrel"),
                                  tr("Set a duration of at least 1 second for the count-down or count-up."),
                                  MessageIcon::Warning);
        return;
    }
    request.sound = soundChoice_->pick();
    request.repeatAlert = soundChoice_->repeatsAlert();
    if (board_->launch(request) < 0)
        services_.dialogs.message(QStringLiteral("Quandrel"), tr("all timers are in use"), MessageIcon::None);
}

// "Recent": the set-ups launched last, each launched again in one click.
QPushButton* MainWindow::buildRecentButton()
{
    recentButton_ = new QPushButton(tr("Recent"), this);
    recentButton_->setObjectName(QStringLiteral("recentButton"));
    recentButton_->setToolTip(tr("Launch one of the timers you launched last"));
    recentButton_->setAccessibleDescription(recentButton_->toolTip());
    recentButton_->setMinimumHeight(launchButton_->minimumHeight());
    auto* menu = new QMenu(recentButton_);
    menu->setObjectName(QStringLiteral("recentMenu"));
    recentButton_->setMenu(menu);
    const auto fill = [this, menu] {
        menu->clear();
        const QList<LaunchRequest>& recent = keeper_->recent();
        for (qsizetype i = 0; i < recent.size(); ++i) {
            QString text = setupText(recent[i]);
            text.replace(QLatin1Char('&'), QStringLiteral("&&"));
            connect(menu->addAction(QStringLiteral("&%1  %2").arg(i + 1).arg(text)), &QAction::triggered, this,
                    [this, i] {
                        if (launchRecent(int(i)) < 0)
                            services_.dialogs.message(QStringLiteral("Quandrel"), tr("all timers are in use"),
                                                      MessageIcon::None);
                    });
        }
        recentButton_->setEnabled(!recent.isEmpty());
    };
    connect(keeper_.get(), &TimerKeeper::recentChanged, this, fill);
    fill();
    return recentButton_;
}

int MainWindow::launchRecent(int index)
{
    const QList<LaunchRequest>& recent = keeper_->recent();
    if (index < 0 || index >= recent.size())
        return -1;
    // A copy: the launch moves the set-up to the front of the list.
    return board_->launch(LaunchRequest(recent[index]));
}

void MainWindow::tickClock()
{
    const QString now = timeOfDay();
    showWhole(clockLabel_, now);
    board_->showClock(now);
}

void MainWindow::hideAll()
{
    windowCommands_->hideAll();
}

void MainWindow::showAll()
{
    windowCommands_->showAll();
}

void MainWindow::closeAll()
{
    windowCommands_->closeAll();
}

void MainWindow::bringToFront()
{
    if (services_.windows.isMinimized(this))
        services_.windows.restore(this);
    show();
    services_.windows.activate(this);
}

bool MainWindow::popOnTop() const
{
    return windowCommands_->popOnTop();
}

void MainWindow::focusField(int16_t code)
{
    QWidget* target = code == FocusSoundList ? soundChoice_->soundList() : setupPanel_->alertTextEdit();
    if (!isVisible())
        return;
    services_.windows.activate(this);
    services_.windows.setFocus(target);
}

void MainWindow::runningCountChanged(int count)
{
    runningCountLine_->setText(runningCountText(count));
    windowCommands_->setRunningCount(count);
    if (tray_)
        tray_->refresh();
}

void MainWindow::bringBackTimers()
{
    keeper_->start();
}

void MainWindow::keepTimersAsTheyAre()
{
    keeper_->stop();
}

void MainWindow::resumed()
{
    board_->resumed();
    if (clockTimer_->isEnabled())
        tickClock();
}

void MainWindow::showInTray(StatusItem& item, bool kept)
{
    tray_ = std::make_unique<TrayMenu>(item, *board_, services_);
    tray_->showAll = [this] { showAll(); };
    tray_->hideAll = [this] { hideAll(); };
    tray_->quit = [this] { close(); };
    tray_->setKept(kept);
}

// The clock ticks while a window that shows it is on the screen.
void MainWindow::followClock()
{
    if (shutDown_)
        return;
    const bool needed = (isVisible() && !services_.windows.isMinimized(this)) || board_->anyWatched();
    if (needed && !clockTimer_->isEnabled())
        tickClock();
    clockTimer_->setEnabled(needed);
}

bool MainWindow::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    const QEvent::Type type = event->type();
    if (type == QEvent::WindowStateChange || type == QEvent::Show || type == QEvent::Hide)
        followClock();
    return handled;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    shutDown();
    event->accept();
}

void MainWindow::shutDown()
{
    if (shutDown_)
        return;
    shutDown_ = true;
    // The sound first, so that nothing plays on while the windows close.
    services_.sound.stop();
    services_.sound.close();
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (TimerWindow* w = board_->window(slot))
            w->close();
    }
    player_->stop();
    clockTimer_->setEnabled(false);
}

} // namespace quandrel
