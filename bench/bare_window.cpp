// An empty Qt Widgets window: the comparison point for start-up time and
// memory of the real program.
//
//   --text   the window is laid out around a line of text before it is shown,
//            so the font database is loaded before the window maps (an empty
//            window loads it only when it first paints, after mapping)
//   --tick   the text is a counter updated once a second: what one clock
//            line costs

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const bool tick = args.contains(QStringLiteral("--tick"));
    const bool text = tick || args.contains(QStringLiteral("--text"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare Qt window"));
    window.resize(320, 200);
    QTimer timer;
    if (text) {
        auto* label = new QLabel(QStringLiteral("Current Time: 10:00:00 AM"));
        (new QVBoxLayout(&window))->addWidget(label);
        window.adjustSize();
        timer.setTimerType(Qt::PreciseTimer);
        int count = 0;
        QObject::connect(&timer, &QTimer::timeout, label,
                         [label, count]() mutable { label->setText(QStringLiteral("Current Time: %1").arg(++count)); });
        if (tick)
            timer.start(1000);
    }
    window.show();
    return app.exec();
}
