#pragma once

#include <QString>

namespace quandrel {

// The main window's choices that a timer window copies when it loads.
struct LaunchChoices {
    QString soundPath;     // the hidden path box: a file path or "None"
    int soundIndex = -1;   // the sound list's position
    QString soundItemText; // the sound list's text ("Bleep", "None")
    QString filePlayLabel; // the picked file's name; empty for a list sound
    bool autostartEnabled = false;
    bool autostartTicked = false;
    bool stopwatch = false;
};

// What a timer window needs of the main window: its current choices and the
// few things it does there. Keeps the dependency one-way.
class TimerHost {
public:
    virtual ~TimerHost() = default;
    virtual LaunchChoices launchChoices() const = 0;
    // The "pop on top" check box.
    virtual bool popOnTop() const = 0;
    // RunningCount changed: refresh the count line and the window buttons.
    virtual void runningCountChanged() = 0;
    // Disables the slot's alarm, count-down and count-up tick timers.
    virtual void stopSlotTickTimers(int slot) = 0;
    // Gives the focus back to the field that LastFocus names.
    virtual void restoreFocus() = 0;
};

} // namespace quandrel
