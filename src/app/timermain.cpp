#include "app/timermain.h"

#include "engine/soundcatalog.h"
#include "engine/ticks.h"
#include "engine/timearith.h"
#include "platform/audiocommands.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/resourcefiles.h"
#include "platform/reversedscrollbar.h"
#include "platform/steadylabel.h"
#include "platform/timeformat.h"
#include "platform/windowops.h"
#include "sound/extraction.h"
#include "sound/soundselection.h"
#include "timerwindow/alarmform.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace quandrel {
namespace {

template <typename W> W* named(W* widget, const char* name, const char* tooltip = nullptr)
{
    widget->setObjectName(QLatin1String(name));
    if (tooltip) {
        widget->setToolTip(QString::fromUtf8(tooltip));
        widget->setAccessibleDescription(QString::fromUtf8(tooltip));
    }
    return widget;
}

QLineEdit* valueBox(QWidget* parent, const char* name, const char* tooltip)
{
    auto* box = named(new QLineEdit(parent), name, tooltip);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignCenter);
    box->setFocusPolicy(Qt::NoFocus);
    box->setAccessibleName(QString::fromUtf8(tooltip));
    const int width = box->fontMetrics().horizontalAdvance(QStringLiteral("MMM")) + 10;
    box->setFixedWidth(width);
    return box;
}

// A value box with its scroll bar beside it and an optional unit caption.
QWidget* valueEntry(QWidget* parent, QLineEdit* box, ReversedScrollBar* bar, QLabel* unit = nullptr)
{
    auto* entry = new QWidget(parent);
    auto* row = new QHBoxLayout(entry);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    row->addWidget(box);
    bar->setFixedHeight(box->sizeHint().height() + 6);
    row->addWidget(bar);
    if (unit)
        row->addWidget(unit);
    row->addStretch(1);
    return entry;
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

Timermain::Timermain(SlotTable& table, Services& services, QWidget* parent)
    : QWidget(parent), table_(table), services_(services)
{
    setObjectName(QStringLiteral("Timermain"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Quandrel"));
    createTimers();
    buildControls();
}

Timermain::~Timermain()
{
    Form_Unload();
}

void Timermain::createTimers()
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        const int alarm = alarmTimerOf(slot);
        Timer[alarm] = services_.timers.create(TickSchedule::aligned(nextLocalSecond));
        const auto startOfCycle = [this, slot](const ClockReading& now) {
            return nextSecondAfterStart(table_.DurationStart[slot], now.utcMs);
        };
        Timer[countDownTimerOf(slot)] = services_.timers.create(TickSchedule::aligned(startOfCycle));
        Timer[countUpTimerOf(slot)] = services_.timers.create(TickSchedule::aligned(startOfCycle));
    }
    for (int index = 0; index < int(Timer.size()); ++index)
        Timer[index]->onTick = [this, index] { Timer_Timer(index); };
    generalclock = services_.timers.create(TickSchedule::aligned(nextLocalSecond));
    generalclock->onTick = [this] { generalclock_Timer(); };
}

void Timermain::buildControls()
{
    // Duration Timer
    Frame2 = named(new QGroupBox(QStringLiteral("Duration Timer"), this), "Frame2");
    Option1 = named(new QRadioButton(QStringLiteral("Count Up"), Frame2), "Option1",
                    "Enable Count Up Timer (for chosen duration)");
    Option2 = named(new QRadioButton(QStringLiteral("Count Down"), Frame2), "Option2",
                    "Enable Count Down Timer (for chosen duration)");
    Check1 = named(new QCheckBox(QStringLiteral("Autostart"), Frame2), "Check1",
                   "Auto-restart Count Up/Down, when finished ");
    Text1 = valueBox(Frame2, "Text1", "Timer duration: hours");
    Text2 = valueBox(Frame2, "Text2", "Timer duration: minutes");
    Text3 = valueBox(Frame2, "Text3", "Timer duration: seconds");
    VScroll1 = named(new ReversedScrollBar(0, 23, Frame2), "VScroll1");
    VScroll2 = named(new ReversedScrollBar(0, 59, Frame2), "VScroll2");
    VScroll3 = named(new ReversedScrollBar(0, 59, Frame2), "VScroll3");
    Label9 = named(new QLabel(QStringLiteral("hrs"), Frame2), "Label9");
    Label10 = named(new QLabel(QStringLiteral("mins"), Frame2), "Label10");
    Label11 = named(new QLabel(QStringLiteral("secs"), Frame2), "Label11");
    {
        auto* grid = new QGridLayout(Frame2);
        grid->addWidget(Option1, 0, 0);
        grid->addWidget(Option2, 0, 1);
        grid->addWidget(Check1, 0, 2);
        grid->addWidget(valueEntry(Frame2, Text1, VScroll1, Label9), 1, 0);
        grid->addWidget(valueEntry(Frame2, Text2, VScroll2, Label10), 1, 1);
        grid->addWidget(valueEntry(Frame2, Text3, VScroll3, Label11), 1, 2);
    }
    Label9->setBuddy(VScroll1);
    Label10->setBuddy(VScroll2);
    Label11->setBuddy(VScroll3);

    // Alarm Clock
    Frame3 = named(new QGroupBox(QStringLiteral("Alarm Clock"), this), "Frame3");
    Check2 = named(new QCheckBox(QStringLiteral("Activate"), Frame3), "Check2", "Enable Alarm Clock Timer");
    Text4 = valueBox(Frame3, "Text4", "Alarm time: hour");
    Text5 = valueBox(Frame3, "Text5", "Alarm time: minutes");
    Text6 = valueBox(Frame3, "Text6", "Alarm time: seconds");
    Text7 = valueBox(Frame3, "Text7", "Alarm time: AM/PM");
    VScroll4 = named(new ReversedScrollBar(1, 12, Frame3), "VScroll4");
    VScroll5 = named(new ReversedScrollBar(0, 59, Frame3), "VScroll5");
    VScroll6 = named(new ReversedScrollBar(0, 59, Frame3), "VScroll6");
    VScroll7 = named(new ReversedScrollBar(1, 2, Frame3), "VScroll7");
    {
        auto* column = new QVBoxLayout(Frame3);
        column->addWidget(Check2);
        auto* row = new QHBoxLayout;
        row->addWidget(valueEntry(Frame3, Text4, VScroll4));
        row->addWidget(valueEntry(Frame3, Text5, VScroll5));
        row->addWidget(valueEntry(Frame3, Text6, VScroll6));
        row->addWidget(valueEntry(Frame3, Text7, VScroll7));
        column->addLayout(row);
    }

    // StopWatch
    Frame6 = named(new QGroupBox(QStringLiteral("StopWatch"), this), "Frame6");
    Check3 = named(new QCheckBox(QStringLiteral("Activate"), Frame6), "Check3", "Enable Stopwatch Timer");
    (new QVBoxLayout(Frame6))->addWidget(Check3, 0, Qt::AlignTop);

    // Alert Text
    Frame4 = named(new QGroupBox(QStringLiteral("Alert Text"), this), "Frame4");
    Text8 = named(new QLineEdit(Frame4), "Text8", "Enter text to show as Timer title, and flash when Timer goes off");
    Text8->setAccessibleName(QStringLiteral("Alert Text"));
    Text8->installEventFilter(this);
    (new QVBoxLayout(Frame4))->addWidget(Text8);

    // Sound Select
    Frame5 = named(new QGroupBox(QStringLiteral("Sound Select"), this), "Frame5");
    Combo1 = named(new QComboBox(Frame5), "Combo1", "Choose sound to play when Timer goes off");
    Combo1->setAccessibleName(QStringLiteral("Sound Select"));
    Combo1->setMaxVisibleItems(14);
    Combo1->installEventFilter(this);
    Command3 = named(new QPushButton(Frame5), "Command3", "Test sound to play when Timer goes off");
    FilePlayLabel = named(new QLabel(Frame5), "FilePlayLabel");
    Text11 = named(new QLineEdit(Frame5), "Text11");
    Text11->hide();
    // Working values of the timing code; never shown.
    Label3 = named(new QLabel(Frame5), "Label3");
    Label4 = named(new QLabel(Frame5), "Label4");
    Label5 = named(new QLabel(Frame5), "Label5");
    Label6 = named(new QLabel(Frame5), "Label6");
    Label7 = named(new QLabel(Frame5), "Label7");
    Label8 = named(new QLabel(Frame5), "Label8");
    for (QLabel* hidden : {Label3, Label4, Label5, Label6, Label7, Label8})
        hidden->hide();
    {
        auto* grid = new QGridLayout(Frame5);
        grid->addWidget(Combo1, 0, 0);
        grid->addWidget(Command3, 0, 1);
        grid->addWidget(FilePlayLabel, 1, 0, 1, 2);
        grid->setColumnStretch(0, 1);
    }
    soundSelection =
        std::make_unique<SoundSelection>(SoundSelection::Controls{Combo1, Command3, FilePlayLabel, Text11}, services_);
    // "activated" also fires when the same item is picked again, so that
    // "Play File..." opens the dialog every time.
    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });

    // Clock and running count
    Frame1 = named(new QGroupBox(this), "Frame1");
    Label1 = named(new QLabel(QStringLiteral("Current Time:"), Frame1), "Label1");
    Label2 = named(new QLabel(Frame1), "Label2");
    Label12 = named(new QLabel(Frame1), "Label12");
    QFont bold = Label12->font();
    bold.setBold(true);
    Label12->setFont(bold);
    {
        auto* grid = new QGridLayout(Frame1);
        grid->addWidget(Label1, 0, 0);
        grid->addWidget(Label2, 0, 1, Qt::AlignLeft);
        grid->addWidget(Label12, 1, 0, 1, 2);
        grid->setColumnStretch(1, 1);
    }
    Frame1->setAccessibleName(QStringLiteral("Current Time"));
    Label1->setBuddy(Label2);
    Label2->setAccessibleDescription(QStringLiteral("Current Time"));
    Label12->setAccessibleDescription(QStringLiteral("Number of timers running"));

    // Global
    Frame7 = named(new QGroupBox(QStringLiteral("Global"), this), "Frame7");
    Command4 = named(new QPushButton(QStringLiteral("Hide All"), Frame7), "Command4", "Hide all open Timers");
    Command5 = named(new QPushButton(QStringLiteral("Close All"), Frame7), "Command5", "Close all open Timers");
    PopChk = named(new QCheckBox(QStringLiteral("pop on top"), Frame7), "PopChk");
    PopChk->setAccessibleDescription(QStringLiteral("Bring a timer to the front and keep it on top when it goes off"));
    Label15 = named(new QLabel(QStringLiteral("pop top"), Frame7), "Label15");
    Label15->setEnabled(false);
    Label15->setBuddy(PopChk);
    {
        auto* grid = new QGridLayout(Frame7);
        grid->addWidget(Command4, 0, 0);
        grid->addWidget(Command5, 0, 1);
        grid->addWidget(PopChk, 1, 0);
        grid->addWidget(Label15, 1, 1);
    }
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });

    // On the window itself
    Command1 = named(new QPushButton(QStringLiteral("LaunchTimer"), this), "Command1",
                     "Launch Duration Timer/Alarm Clock Timer/Stopwatch Timer");
    QFont launchFont = Command1->font();
    launchFont.setBold(true);
    Command1->setFont(launchFont);
    Command1->setMinimumHeight(Command1->sizeHint().height() * 3 / 2);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    Command2 = named(new QPushButton(this), "Command2");
    Command2->hide();
    connect(Command2, &QPushButton::clicked, this, [this] { command2_click(); });
    Picture3 = named(new QLabel(this), "Picture3");
    Picture3->setAccessibleName(QStringLiteral("Quandrel logo"));
    Label13 = named(new QLabel(this), "Label13");
    Label14 = named(new QLabel(this), "Label14");
    Label14->setWordWrap(true);

    // Kind choice: a click handler runs whenever its box really changes, from
    // the user or from code; an option button's only when it is selected.
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option1_Click();
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option2_Click();
    });
    connect(Check2, &QCheckBox::toggled, this, [this] { Check2_Click(); });
    connect(Check3, &QCheckBox::toggled, this, [this] { Check3_Click(); });
    const std::array<ReversedScrollBar*, 7> bars{VScroll1, VScroll2, VScroll3, VScroll4, VScroll5, VScroll6, VScroll7};
    // Each bar is the control of the read-only box beside it: it carries the
    // box's name for screen readers and takes the keyboard focus on Tab.
    const std::array<QLineEdit*, 7> boxes{Text1, Text2, Text3, Text4, Text5, Text6, Text7};
    for (int i = 0; i < 7; ++i) {
        bars[size_t(i)]->setAccessibleName(boxes[size_t(i)]->toolTip());
        bars[size_t(i)]->setAccessibleDescription(QStringLiteral("Up arrow raises the value, Down arrow lowers it"));
        bars[size_t(i)]->setFocusPolicy(Qt::TabFocus);
        connect(bars[size_t(i)], &ReversedScrollBar::logicalValueChanged, this, [this, i] { VScroll_Change(i + 1); });
    }

    // Window layout: the setup frames on the left, sound, clock and commands
    // on the right, the launch button across the bottom.
    auto* brand = new QHBoxLayout;
    brand->addWidget(Picture3);
    auto* brandText = new QVBoxLayout;
    brandText->addWidget(Label13);
    brandText->addWidget(Label14);
    brand->addLayout(brandText, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(Frame2);
    left->addWidget(Frame3);
    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(Frame6);
    kindRow->addWidget(Frame4, 1);
    left->addLayout(kindRow);

    auto* right = new QVBoxLayout;
    right->addLayout(brand);
    right->addWidget(Frame5);
    right->addWidget(Frame1);
    right->addWidget(Frame7);
    right->addStretch(1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 3);
    columns->addLayout(right, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(Command1);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    // Keyboard order follows the frames.
    setTabOrder(Option1, Option2);
    setTabOrder(Option2, Check1);
    setTabOrder(Check1, VScroll1);
    setTabOrder(VScroll1, VScroll2);
    setTabOrder(VScroll2, VScroll3);
    setTabOrder(VScroll3, Check2);
    setTabOrder(Check2, VScroll4);
    setTabOrder(VScroll4, VScroll5);
    setTabOrder(VScroll5, VScroll6);
    setTabOrder(VScroll6, VScroll7);
    setTabOrder(VScroll7, Check3);
    setTabOrder(Check3, Text8);
    setTabOrder(Text8, Combo1);
    setTabOrder(Combo1, Command3);
    setTabOrder(Command3, Command4);
    setTabOrder(Command4, Command5);
    setTabOrder(Command5, PopChk);
    setTabOrder(PopChk, Command1);
}

QString Timermain::clockText() const
{
    return longTimeText(services_.clock.now().localTime(), services_.locale);
}

void Timermain::Form_Load()
{
    setWindowIcon(QIcon(QStringLiteral(":/images/mainicon.png")));
    Picture3->setPixmap(LoadResourcePicture(101, QStringLiteral("Custom"), QString(), devicePixelRatioF()));
    Label2->setText(clockText());
    holdLabelSize(Label2, timeOfDayShapes(services_.locale));
    Label13->setText(QStringLiteral("v 1.1"));
    Label14->setText(QStringLiteral("Quandrel: six timers, alarms and stopwatches at once"));
    table_.clearNumbered();

    missingRecordings_ = extractRecordings(services_.soundFolder);

    Command3->setText(QStringLiteral("Test Play"));
    soundSelection->fillList();
    Combo1->setCurrentIndex(0);
    Combo1_Click(); // setting the list position runs its click handler

    // The bars may already hold these values, in which case no change notice
    // comes: run each handler so that every box shows its bar's value.
    const std::array<std::pair<ReversedScrollBar*, int>, 7> startValues{
        {{VScroll4, 1}, {VScroll5, 0}, {VScroll6, 0}, {VScroll7, 1}, {VScroll1, 1}, {VScroll2, 0}, {VScroll3, 0}}};
    const std::array<ReversedScrollBar*, 7> bars{VScroll1, VScroll2, VScroll3, VScroll4, VScroll5, VScroll6, VScroll7};
    for (const auto& [bar, value] : startValues) {
        const QSignalBlocker quiet(bar);
        bar->setValue(value);
        VScroll_Change(int(std::find(bars.begin(), bars.end(), bar) - bars.begin()) + 1);
    }

    Check2->setChecked(true);

    for (int slot = 0; slot < SlotCount; ++slot)
        Timer[alarmTimerOf(slot)]->setEnabled(false);
    generalclock->setEnabled(true);
    for (int slot = 0; slot < SlotCount; ++slot) {
        Timer[countDownTimerOf(slot)]->setEnabled(false);
        Timer[countUpTimerOf(slot)]->setEnabled(false);
    }
    table_.AutoRestart[0] = 0;
    Label12->setText(QStringLiteral("There are Currently ") + QString::number(table_.RunningCount) +
                     QStringLiteral(" Timers running"));

    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(centredPosition(screen->size(), frameGeometry().size()));

    Command4->setText(QStringLiteral("Hide All"));
    Command5->setText(QStringLiteral("Close All"));
    Command4->setEnabled(false);
    Command5->setEnabled(false);

    soundForm = std::make_unique<SoundForm>(table_, services_, *this);
    soundSelection->setPlayer(soundForm.get());
    soundForm->preemptTestPlay = [this] { soundSelection->stopTestPlay(); };
    soundForm->Form_Load();

    Text8->clear();

    if (!missingRecordings_.isEmpty()) {
        services_.dialogs.message(QStringLiteral("Quandrel"),
                                  QStringLiteral("These sounds could not be saved to %1 and will not play: %2.")
                                      .arg(services_.soundFolder, missingRecordings_.join(QStringLiteral(", "))),
                                  MessageIcon::Warning);
    }
}

QPoint Timermain::centredPosition(QSize screen, QSize window)
{
    // Halved with truncation toward zero; a window larger than the screen
    // gets a negative position rather than being clamped.
    return {(screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2};
}

// ---- Setup panel -------------------------------------------------------

void Timermain::optionSelected()
{
    Check1->setEnabled(true);
    Check2->setChecked(false);
    Check3->setChecked(false);
    for (ReversedScrollBar* bar : {VScroll4, VScroll5, VScroll6, VScroll7})
        bar->setEnabled(false);
    for (ReversedScrollBar* bar : {VScroll1, VScroll2, VScroll3})
        bar->setEnabled(true);
    Command1->setEnabled(true);
}

void Timermain::Option1_Click()
{
    if (Option1->isChecked())
        optionSelected();
}

void Timermain::Option2_Click()
{
    if (Option2->isChecked())
        optionSelected();
}

void Timermain::Check2_Click()
{
    if (!Check2->isChecked()) {
        for (ReversedScrollBar* bar : {VScroll4, VScroll5, VScroll6, VScroll7})
            bar->setEnabled(false);
        if (!Check3->isChecked() && !Option1->isChecked() && !Option2->isChecked())
            Command1->setEnabled(false);
        return;
    }
    for (ReversedScrollBar* bar : {VScroll1, VScroll2, VScroll3})
        bar->setEnabled(false);
    setRadioChecked(Option1, false);
    setRadioChecked(Option2, false);
    Check1->setChecked(false);
    Check1->setEnabled(false);
    Check3->setChecked(false);
    for (ReversedScrollBar* bar : {VScroll4, VScroll5, VScroll6, VScroll7})
        bar->setEnabled(true);
    Command1->setEnabled(true);
}

void Timermain::Check3_Click()
{
    if (!Check3->isChecked()) {
        if (!Check2->isChecked() && !Option1->isChecked() && !Option2->isChecked())
            Command1->setEnabled(false);
        return;
    }
    Check2->setChecked(false);
    for (ReversedScrollBar* bar : {VScroll1, VScroll2, VScroll3})
        bar->setEnabled(false);
    setRadioChecked(Option1, false);
    setRadioChecked(Option2, false);
    Check1->setChecked(false);
    Check1->setEnabled(false);
    for (ReversedScrollBar* bar : {VScroll4, VScroll5, VScroll6, VScroll7})
        bar->setEnabled(false);
    Command1->setEnabled(true);
}

void Timermain::VScroll_Change(int bar)
{
    switch (bar) {
    case 1:
        Text1->setText(formatTwoDigits(VScroll1->value()));
        table_.DurHourSecs = VScroll1->value() * SecsPerHour;
        break;
    case 2:
        Text2->setText(formatTwoDigits(VScroll2->value()));
        table_.DurMinuteSecs = VScroll2->value() * SecsPerMinute;
        break;
    case 3:
        Text3->setText(formatTwoDigits(VScroll3->value()));
        table_.DurSecondSecs = VScroll3->value();
        break;
    case 4:
        Text4->setText(QString::number(VScroll4->value()));
        break;
    case 5:
        Text5->setText(formatTwoDigits(VScroll5->value()));
        break;
    case 6:
        Text6->setText(formatTwoDigits(VScroll6->value()));
        break;
    case 7:
        if (VScroll7->value() == 1)
            Text7->setText(QStringLiteral("AM"));
        else if (VScroll7->value() == 2)
            Text7->setText(QStringLiteral("PM"));
        break;
    default:
        break;
    }
}

void Timermain::Text8_GotFocus()
{
    table_.LastFocus = FocusAlertText;
}

void Timermain::Combo1_GotFocus()
{
    table_.LastFocus = FocusSoundList;
}

bool Timermain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == Text8)
            Text8_GotFocus();
        else if (watched == Combo1)
            Combo1_GotFocus();
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Launch ------------------------------------------------------------

void Timermain::Command1_Click()
{
    if (Option1->isChecked())
        table_.TimerKind = KindCountUp;
    else if (Option2->isChecked())
        table_.TimerKind = KindCountDown;
    else if (Check2->isChecked())
        table_.TimerKind = KindAlarmClock;
    else if (Check3->isChecked())
        table_.TimerKind = KindStopwatch;

    const int n = table_.findFreeSlot();
    if (n < 0) {
        services_.dialogs.message(QStringLiteral("Quandrel"), QStringLiteral("all timers are in use"),
                                  MessageIcon::None);
        return;
    }

    table_.TimerWinState[n] = WinShown;
    auto* form = new AlarmForm(n, table_, services_, *this);
    ALARMFORM[n] = form;

    const ClockReading now = services_.clock.now();
    switch (table_.TimerKind) {
    case KindAlarmClock: {
        table_.AlarmStart[n] = now.localWallMs();
        table_.LaunchTimeText[n] = longTimeText(now.localTime(), services_.locale);
        if (!countTime(table_, n)) {
            // A time format that cannot be read back by position: take the
            // launch time of day from the clock itself.
            table_.LaunchSecs[n] = secondsOfDay(now.localTime());
        }
        Label4->setText(QString::number(table_.LaunchHour[n]));
        Label6->setText(QString::number(table_.LaunchMinute[n]));
        Label7->setText(QString::number(table_.LaunchSecond[n]));
        Label8->setText(QString::number(table_.LaunchSecs[n]));
        alarmtime(table_, n, VScroll4->value(), VScroll5->value(), VScroll6->value(), Text7->text());
        alarmduration(table_, table_.AlarmSecs[n], table_.LaunchSecs[n], n);
        Timer[alarmTimerOf(n)]->setEnabled(true);
        form->Label1->setText(QStringLiteral("Alarm Set For:"));
        form->Label2->setText(Text4->text() + QLatin1Char(':') + Text5->text() + QLatin1Char(':') + Text6->text() +
                              QLatin1Char(' ') + Text7->text());
        form->Label3->setText(QStringLiteral("Alarm Set At: ") + table_.LaunchTimeText[n]);
        form->Label5->setText(QStringLiteral("0 elapsed"));
        {
            const QString wait = QString::number(table_.AlarmWait[n]);
            // Room for the elapsed count to pass the wait, or go negative,
            // when the clock is changed.
            holdLabelSize(form->Label5,
                          {QLatin1Char('-') + wait + QStringLiteral(" elapsed of ") + wait + QStringLiteral(" sec")});
        }
        form->Text1->setText(Text8->text());
        break;
    }
    case KindCountDown:
    case KindCountUp: {
        const bool countDown = table_.TimerKind == KindCountDown;
        table_.DurationStart[n] = now.utcMs;
        table_.LaunchTimeText[n] = longTimeText(now.localTime(), services_.locale);
        table_.DurationSecs[n] = table_.DurMinuteSecs + table_.DurHourSecs + table_.DurSecondSecs;
        table_.AutoRestart[n] = Check1->isChecked() ? 1 : 0;
        form->Label1->setText(countDown ? QStringLiteral("CountDown:") : QStringLiteral("CountUp:"));
        form->Label3->setText(QStringLiteral("Alarm Set At: ") + table_.LaunchTimeText[n]);
        form->Label5->setText(QStringLiteral("Counting ") + Text1->text() + QStringLiteral("h ") + Text2->text() +
                              QStringLiteral("m ") + Text3->text() + QStringLiteral("s"));
        form->Label2->setAlignment(Qt::AlignCenter);
        holdLabelSize(form->Label2, {QStringLiteral("Start"), QStringLiteral("-000:00:00")});
        form->Text1->setText(Text8->text());
        Timer[countDown ? countDownTimerOf(n) : countUpTimerOf(n)]->setEnabled(true);
        break;
    }
    case KindStopwatch:
        form->Text1->setText(Text8->text());
        break;
    default:
        break;
    }
    // Shown once its captions are in, so it is placed at its final size.
    form->adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        form->move(AlarmForm::initialPosition(n, form->frameGeometry().size(), screen->availableGeometry()));
    form->show();
}

// ---- Ticks -------------------------------------------------------------

AlarmForm* Timermain::loadedForm(int slot) const
{
    AlarmForm* form = ALARMFORM[size_t(slot)];
    return (form && form->isLoaded()) ? form : nullptr;
}

void Timermain::Timer_Timer(int index)
{
    if (index < 6)
        alarmTimerTick(index);
    else if (index < 12)
        durationTimerTick(index - 6, true);
    else
        durationTimerTick(index - 12, false);
}

void Timermain::durationTimerTick(int slot, bool countDown)
{
    TickTimer& timer = *Timer[countDown ? countDownTimerOf(slot) : countUpTimerOf(slot)];
    AlarmForm* form = loadedForm(slot);
    if (!form) {
        timer.setEnabled(false);
        return;
    }
    const DurationTick tick = durationTick(table_, slot, countDown, services_.clock.now().utcMs);
    form->Label2->setText(tick.face);
    if (tick.expiry == Expiry::Final) {
        timer.setEnabled(false);
        form->Command1->click();
        form->Label6->setVisible(true);
        form->Timer2->setEnabled(true);
    } else if (tick.expiry == Expiry::Restart) {
        form->Command1->click();
        form->Timer3->setEnabled(true);
    }
}

void Timermain::alarmTimerTick(int slot)
{
    TickTimer& timer = *Timer[alarmTimerOf(slot)];
    AlarmForm* form = loadedForm(slot);
    if (!form) {
        timer.setEnabled(false);
        return;
    }
    const AlarmTick tick = alarmTick(table_, slot, services_.clock.now().localWallMs());
    Label5->setText(QString::number(tick.elapsed));
    form->Label5->setText(tick.progress);
    if (tick.expired) {
        timer.setEnabled(false);
        form->Command1->click();
        form->Label6->setVisible(true);
        form->Timer2->setEnabled(true);
    }
}

void Timermain::generalclock_Timer()
{
    Label2->setText(clockText());
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (AlarmForm* form = loadedForm(slot))
            form->generalclocktimer_Timer();
    }
}

// ---- Window commands ---------------------------------------------------

void Timermain::command2_click()
{
    const int count = table_.RunningCount;
    if (count == 1)
        Label12->setText(QStringLiteral("There is Currently 1 Timer running"));
    else
        Label12->setText(QStringLiteral("There are Currently ") + QString::number(count) +
                         QStringLiteral(" Timers running"));
    Command4->setEnabled(count != 0);
    Command5->setEnabled(count != 0);
}

void Timermain::Command4_Click()
{
    if (table_.RunningCount <= 0)
        return;
    if (Command4->text() != QLatin1String("Hide All")) {
        Command4->setText(QStringLiteral("Hide All"));
        for (int slot = 0; slot < SlotCount; ++slot) {
            AlarmForm* form = loadedForm(slot);
            if (form && table_.TimerWinState[slot] == WinHidden) {
                form->show();
                table_.TimerWinState[slot] = WinShown;
            }
        }
    } else {
        Command4->setText(QStringLiteral("Show All"));
        for (int slot = 0; slot < SlotCount; ++slot) {
            AlarmForm* form = loadedForm(slot);
            if (form && table_.TimerWinState[slot] == WinShown) {
                form->hide();
                table_.TimerWinState[slot] = WinHidden;
            }
        }
    }
}

void Timermain::Command5_Click()
{
    Command4->setText(QStringLiteral("Hide All"));
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (table_.TimerWinState[slot] != WinNone) {
            if (AlarmForm* form = loadedForm(slot))
                form->close();
            table_.TimerWinState[slot] = WinNone;
        }
    }
}

void Timermain::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void Timermain::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    services_.audio.mciSendString(QStringLiteral("stop voice1"));
    services_.audio.mciSendString(QStringLiteral("close voice1"));
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (AlarmForm* form = loadedForm(slot))
            form->close();
    }
    if (soundForm)
        soundForm->Form_Unload();
    generalclock->setEnabled(false);
    for (auto& timer : Timer)
        timer->setEnabled(false);
}

// ---- Sound choice ------------------------------------------------------

void Timermain::Combo1_Click()
{
    soundSelection->Combo1_Click();
}

void Timermain::Command3_Click()
{
    soundSelection->Command3_Click();
}

// ---- Services to the timer windows and the sound player ------------------

LaunchChoices Timermain::launchChoices() const
{
    LaunchChoices c;
    c.soundPath = Text11->text();
    c.soundIndex = Combo1->currentIndex();
    c.soundItemText = Combo1->currentText();
    c.filePlayLabel = FilePlayLabel->text();
    c.autostartEnabled = Check1->isEnabled();
    c.autostartTicked = Check1->isChecked();
    c.stopwatch = Check3->isChecked();
    return c;
}

bool Timermain::popOnTop() const
{
    return PopChk->isChecked();
}

void Timermain::runningCountChanged()
{
    Command2->click();
}

void Timermain::stopSlotTickTimers(int slot)
{
    Timer[alarmTimerOf(slot)]->setEnabled(false);
    Timer[countDownTimerOf(slot)]->setEnabled(false);
    Timer[countUpTimerOf(slot)]->setEnabled(false);
}

void Timermain::restoreFocus()
{
    QWidget* target = Text8;
    const int code = table_.LastFocus;
    if (code == FocusSoundList) {
        target = Combo1;
    } else if (code >= FocusTimerTitleBase && code < FocusTimerTitleBase + SlotCount) {
        AlarmForm* form = loadedForm(code - FocusTimerTitleBase);
        // A closed or hidden window cannot take the focus: leave it where it is.
        if (!form || !form->isVisible())
            return;
        target = form->Text1;
    }
    WindowOps& ops = services_.windows;
    QWidget* window = target->window();
    if (!window->isVisible() || !ops.applicationActive())
        return; // never take the keyboard from another program
    ops.activate(window);
    ops.setFocus(target);
}

bool Timermain::windowSound(int slot, QString* path, QString* listPosition) const
{
    AlarmForm* form = loadedForm(slot);
    if (!form)
        return false;
    *path = form->Text2->text();
    *listPosition = form->Text3->text();
    return true;
}

} // namespace quandrel
