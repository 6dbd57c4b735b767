// The yardstick for tapetor's idle cost: the least a Qt program in the tray can do —
// a hidden window, a tray icon, and a timer that writes the time into a label.
// Usage: minimal_tray [PERIOD_MS] (1000 by default).
#include <QApplication>
#include <QLabel>
#include <QSystemTrayIcon>
#include <QTime>
#include <QTimer>
#include <QPixmap>
#include <QString>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QLabel label;
    label.resize(200, 30);
    QPixmap icon(22, 22);
    icon.fill(Qt::darkGreen);
    QSystemTrayIcon tray{QIcon(icon)};
    tray.show();
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &label,
                     [&label] { label.setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))); });
    const int period = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 0;
    timer.start(period > 0 ? period : 1000);
    return QApplication::exec();
}
