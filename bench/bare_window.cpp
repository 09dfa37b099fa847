// SPDX-License-Identifier: GPL-3.0-or-later
// An empty Qt Widgets window: the comparison point for the start-up time and
// memory of the real program.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare Qt window"));
    window.resize(320, 200);
    window.show();
    return app.exec();
}
