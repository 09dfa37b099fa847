#include "timerwindow/alarmform.h"

#include "engine/ticks.h"
#include "platform/resourcefiles.h"
#include "platform/steadylabel.h"
#include "platform/timeformat.h"
#include "platform/windowops.h"
#include "timerwindow/timerhost.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quandrel {
namespace {

const QColor DisplayRed(192, 0, 0);
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

QLabel* makeLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

AlarmForm::AlarmForm(int slot, SlotTable& table, Services& services, TimerHost& host)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      slot_(slot), table_(table), services_(services), host_(host)
{
    setObjectName(QStringLiteral("ALARMFORM%1").arg(slot));
    setAttribute(Qt::WA_DeleteOnClose);
    Timer2 = services_.timers.create(TickSchedule::interval(500));
    Timer2->onTick = [this] { Timer2_Timer(); };
    Timer3 = services_.timers.create(TickSchedule::interval(500));
    Timer3->onTick = [this] { Timer3_Timer(); };
    SWTimer = services_.timers.create(TickSchedule::aligned(
        [this](const ClockReading& now) { return nextSecondAfterStart(stopwatch.SwStartTime, now.utcMs); }));
    SWTimer->onTick = [this] { SWTimer_Timer(); };
    buildControls();
    Form_Load();
}

AlarmForm::~AlarmForm() = default;

QString AlarmForm::defaultTitle() const
{
    return QStringLiteral("Timer %1").arg(slot_ + 1);
}

void AlarmForm::buildControls()
{
    Label1 = makeLabel(this, "Label1");
    Label1->setFont(scaledBold(font(), 1.0));
    Label2 = makeLabel(this, "Label2");
    Label2->setFont(scaledBold(font(), 1.6));
    QPalette red = Label2->palette();
    red.setColor(QPalette::WindowText, DisplayRed);
    Label2->setPalette(red);
    Label1->setBuddy(Label2);
    Label2->setAccessibleDescription(QStringLiteral("Timer reading"));

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setToolTip(QStringLiteral("Enter/Amend Timer title"));
    Text1->setAccessibleName(QStringLiteral("Timer title"));
    Text1->setAccessibleDescription(Text1->toolTip());
    Text1->installEventFilter(this);
    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });

    Label3 = makeLabel(this, "Label3");
    Label4 = makeLabel(this, "Label4");
    Label5 = makeLabel(this, "Label5");
    Label6 = makeLabel(this, "Label6");
    Label6->setText(QStringLiteral("       EXPIRED!"));
    Label6->setFont(scaledBold(font(), 1.2));
    Label6->setAutoFillBackground(true); // covers the clock line beneath it
    Label6->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto makeStopwatchButton = [this](const char* name, const char* tip) {
        auto* button = new QPushButton(this);
        button->setObjectName(QLatin1String(name));
        button->setToolTip(QLatin1String(tip));
        button->setAccessibleDescription(QLatin1String(tip));
        button->setFont(scaledBold(font(), 1.0));
        QPalette white = button->palette();
        white.setColor(QPalette::Button, Qt::white);
        button->setPalette(white);
        return button;
    };
    SWStart = makeStopwatchButton("SWStart", "Start/Stop Stopwatch");
    connect(SWStart, &QPushButton::clicked, this, [this] { SWStart_Click(); });
    SWReset = makeStopwatchButton("SWReset", "Reset Stopwatch");
    connect(SWReset, &QPushButton::clicked, this, [this] { SWReset_Click(); });

    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Plain);
    Line1->setLineWidth(2);
    QPalette grey = Line1->palette();
    grey.setColor(QPalette::WindowText, SeparatorGrey);
    Line1->setPalette(grey);

    Picture2 = makeLabel(this, "Picture2");
    Picture2->setToolTip(QStringLiteral("Auto-restart"));
    Picture2->setAccessibleName(Picture2->toolTip());
    AutoLabel = makeLabel(this, "AutoLabel");
    AutoLabel->setAccessibleDescription(Picture2->toolTip());
    Picture2->setBuddy(AutoLabel);
    CyclesLabel = makeLabel(this, "CyclesLabel");
    CyclesLabel->setAccessibleDescription(QStringLiteral("Cycles completed"));
    Picture1 = makeLabel(this, "Picture1");
    Picture1->setToolTip(QStringLiteral("Alert sound"));
    Picture1->setAccessibleName(Picture1->toolTip());
    WavLabel = makeLabel(this, "WavLabel");
    WavLabel->setAccessibleDescription(Picture1->toolTip());
    Picture1->setBuddy(WavLabel);

    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->hide();
    Text3 = new QLineEdit(this);
    Text3->setObjectName(QStringLiteral("Text3"));
    Text3->hide();
    Command1 = new QPushButton(this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->hide();
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    setTabOrder(Text1, SWStart);
    setTabOrder(SWStart, SWReset);

    // The launch, clock and progress lines, with the banner over the clock and
    // progress lines and the stopwatch buttons in their place in stopwatch mode.
    auto* info = new QGridLayout;
    info->setContentsMargins(0, 0, 0, 0);
    info->setVerticalSpacing(2);
    info->addWidget(Label3, 0, 0, 1, 2);
    info->addWidget(Label4, 1, 0, 1, 2);
    info->addWidget(Label5, 2, 0, 1, 2);
    info->addWidget(SWStart, 0, 0, 3, 1, Qt::AlignVCenter);
    info->addWidget(SWReset, 0, 1, 3, 1, Qt::AlignVCenter);
    info->addWidget(Label6, 1, 0, 2, 2);

    auto* autoRow = new QHBoxLayout;
    autoRow->addWidget(Picture2);
    autoRow->addWidget(AutoLabel);
    autoRow->addSpacing(8);
    autoRow->addWidget(CyclesLabel, 1);
    auto* soundRow = new QHBoxLayout;
    soundRow->addWidget(Picture1);
    soundRow->addWidget(WavLabel, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 6);
    layout->setSpacing(3);
    layout->addWidget(Label1, 0, Qt::AlignHCenter);
    layout->addWidget(Label2, 0, Qt::AlignHCenter);
    layout->addWidget(Text1);
    layout->addLayout(info);
    layout->addWidget(Line1);
    layout->addLayout(autoRow);
    layout->addLayout(soundRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // One width for every kind, wide enough for the longest progress line and
    // time display, so that the six windows tile evenly.
    QLabel progress(QStringLiteral("-00000 elapsed of 00000 sec"));
    holdLabelSize(&progress, {progress.text()});
    QLabel display;
    display.setFont(Label2->font());
    holdLabelSize(&display, {QStringLiteral("-000:00:00"), QStringLiteral("12:00:00 PM")});
    // The layout fixes the window at its hint, so the width goes on the title box.
    const int margins = layout->contentsMargins().left() + layout->contentsMargins().right();
    Text1->setMinimumWidth(std::max(
        {fontMetrics().horizontalAdvance(QLatin1Char('M')) * 16 - margins, progress.width(), display.width()}));
}

QString AlarmForm::clockLine() const
{
    return QStringLiteral("Current Time: ") + longTimeText(services_.clock.now().localTime(), services_.locale);
}

bool AlarmForm::hasSound() const
{
    return Text2->text() != QLatin1String("None");
}

void AlarmForm::Form_Load()
{
    setWindowIcon(QIcon(QStringLiteral(":/images/timericon.png")));
    SWTimer->setEnabled(false);
    Label1->setVisible(true);
    Label3->setVisible(true);
    Label4->setVisible(true);
    Label5->setVisible(true);
    SWStart->setVisible(false);
    SWReset->setVisible(false);
    Label4->setText(clockLine());
    QStringList clockShapes = timeOfDayShapes(services_.locale);
    for (QString& shape : clockShapes)
        shape.prepend(QStringLiteral("Current Time: "));
    holdLabelSize(Label4, clockShapes);
    Label2->setText(QStringLiteral("Start"));
    generalclocktimerEnabled = true;

    table_.SlotInUse[slot_] = 1;
    Label6->setVisible(false);
    alert.ExpiryTicks = 0;
    alert.RestartTicks = 0;
    loaded_ = true;
    ++table_.RunningCount;
    host_.runningCountChanged();

    Timer2->setEnabled(false);
    Timer3->setEnabled(false);
    Command1->setVisible(false);

    const qreal ratio = devicePixelRatioF();
    Picture1->setPixmap(LoadResourcePicture(102, QStringLiteral("Custom"), QString(), ratio));
    Picture2->setPixmap(LoadResourcePicture(103, QStringLiteral("Custom"), QString(), ratio));

    const LaunchChoices choices = host_.launchChoices();
    Text2->setText(choices.soundPath);
    Text3->setText(QString::number(choices.soundIndex));
    if (choices.autostartEnabled)
        AutoLabel->setText(choices.autostartTicked ? QStringLiteral("Y") : QStringLiteral("N"));
    else
        AutoLabel->setText(QStringLiteral("N/A"));
    WavLabel->setText(!choices.filePlayLabel.isEmpty() ? choices.filePlayLabel : choices.soundItemText);
    CyclesLabel->clear();

    if (choices.stopwatch) {
        SWStart->setVisible(true);
        SWReset->setVisible(true);
        SWStart->setText(QStringLiteral("Start"));
        SWReset->setText(QStringLiteral("Reset"));
        Label1->setText(QStringLiteral("Stopwatch"));
        Label3->setVisible(false);
        Label4->setVisible(false);
        Label5->setVisible(false);
        WavLabel->setText(QStringLiteral("N/A"));
        Label2->setText(QStringLiteral("00:00:00"));
        holdLabelSize(Label2, {QStringLiteral("-00:00:00")});
        stopwatch = StopwatchState{};
    }
    Text1_Change();
}

void AlarmForm::Form_Unload()
{
    if (!loaded_)
        return;
    loaded_ = false;
    table_.SlotInUse[slot_] = 0;
    --table_.RunningCount;
    host_.runningCountChanged();
    host_.stopSlotTickTimers(slot_);
    alert.CycleCount = 0;
    SWTimer->setEnabled(false);
    table_.TimerWinState[slot_] = WinNone;
    // Everything the window ran stops with it.
    Timer2->setEnabled(false);
    Timer3->setEnabled(false);
    generalclocktimerEnabled = false;
}

void AlarmForm::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

bool AlarmForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Text1 && event->type() == QEvent::FocusIn)
        Text1_GotFocus();
    return QWidget::eventFilter(watched, event);
}

void AlarmForm::Text1_Change()
{
    const QString title = Text1->text();
    setWindowTitle(title.isEmpty() ? defaultTitle() : title);
}

void AlarmForm::Text1_GotFocus()
{
    table_.LastFocus = int16_t(FocusTimerTitleBase + slot_);
}

void AlarmForm::generalclocktimer_Timer()
{
    if (generalclocktimerEnabled)
        Label4->setText(clockLine());
}

void AlarmForm::Command1_Click()
{
    WindowOps& ops = services_.windows;
    if (ops.isMinimized(this))
        ops.restore(this);
    if (host_.popOnTop())
        MakeTopMost();
    else if (!ops.applicationActive())
        ops.alert(this);
}

void AlarmForm::MakeTopMost()
{
    WindowOps& ops = services_.windows;
    ops.setStaysOnTop(this, true);
    // Take the keyboard only from our own windows; over another program's
    // window, come to the front and ask for attention instead.
    if (ops.applicationActive()) {
        ops.activate(this);
    } else {
        ops.raise(this);
        ops.alert(this);
    }
}

void AlarmForm::MakeNormal()
{
    WindowOps& ops = services_.windows;
    ops.setStaysOnTop(this, false);
    if (ops.applicationActive())
        ops.activate(this);
}

void AlarmForm::colourTitle(TitleColour colour)
{
    QColor background;
    switch (colour) {
    case TitleColour::Unchanged:
        return;
    case TitleColour::Blue:
        background = QColor(0, 0, 255);
        break;
    case TitleColour::Red:
        background = QColor(255, 0, 0);
        break;
    case TitleColour::White:
        background = QColor(255, 255, 255);
        break;
    }
    QPalette palette = Text1->palette();
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Text, colour == TitleColour::White ? QColor(Qt::black) : QColor(Qt::white));
    Text1->setPalette(palette);
}

void AlarmForm::Timer2_Timer()
{
    const ExpiryAlertStep step = expiryAlertTick(alert, slot_, host_.popOnTop(), hasSound());
    if (step.restoreFocus)
        host_.restoreFocus();
    if (step.raiseSound)
        table_.raiseAlertSound(slot_);
    colourTitle(step.colour);
}

void AlarmForm::Timer3_Timer()
{
    Label6->setVisible(true);
    const bool pop = host_.popOnTop();
    const RestartAlertStep step = restartAlertTick(alert, pop, hasSound());
    if (step.restoreFocus)
        host_.restoreFocus();
    CyclesLabel->setText(step.cyclesText);
    if (step.raiseSound)
        table_.raiseCycleSound(slot_);
    if (step.shut) {
        do_timer3shut();
        if (step.restoreFocusAfterShut)
            host_.restoreFocus();
    } else {
        colourTitle(step.colour);
    }
}

void AlarmForm::do_timer3shut()
{
    Label6->setVisible(false);
    Timer3->setEnabled(false);
    colourTitle(TitleColour::White);
    restartAlertShut(alert);
    if (host_.popOnTop())
        MakeNormal();
}

void AlarmForm::SWStart_Click()
{
    if (SWStart->text() == QLatin1String("Start")) {
        SWStart->setText(QStringLiteral("Stop"));
        stopwatch.start(services_.clock.now().utcMs);
        SWTimer->setEnabled(true);
    } else {
        SWStart->setText(QStringLiteral("Start"));
        stopwatch.stop();
        SWTimer->setEnabled(false);
    }
}

void AlarmForm::SWReset_Click()
{
    Label2->setText(QStringLiteral("00:00:00"));
    stopwatch.reset();
    SWStart->setText(QStringLiteral("Start"));
    SWTimer->setEnabled(false);
}

void AlarmForm::SWTimer_Timer()
{
    const std::optional<QString> face = stopwatch.tick(services_.clock.now().utcMs);
    if (!face) {
        SWReset->click();
        SWStart->click();
        return;
    }
    Label2->setText(*face);
}

QPoint AlarmForm::initialPosition(int slot, QSize windowSize, QRect available)
{
    constexpr int Gap = 12;
    const int column = slot % 3;
    const int row = slot / 3;
    const int x = available.right() - Gap - (column + 1) * (windowSize.width() + Gap) + Gap;
    const int y = available.top() + Gap + row * (windowSize.height() + Gap + 30);
    return {std::max(available.left(), x), std::max(available.top(), y)};
}

} // namespace quandrel
