// SPDX-License-Identifier: GPL-3.0-or-later
// An empty Qt Widgets window: the comparison point for the start-up time and
// memory of the real program. With --text it shows one line of text, which
// is what any window with text pays for its fonts.

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare Qt window"));
    if (app.arguments().contains(QStringLiteral("--text")))
        (new QVBoxLayout(&window))->addWidget(new QLabel(QStringLiteral("There are Currently 0 Timers running")));
    window.resize(320, 200);
    window.show();
    return app.exec();
}
