// The yardstick for tapetor's idle cost: the least a Qt program in the tray can do —
// a hidden window, a tray icon, and a 100 ms timer that writes the time into a label.
#include <QApplication>
#include <QLabel>
#include <QSystemTrayIcon>
#include <QTime>
#include <QTimer>
#include <QPixmap>

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
    timer.start(100);
    return QApplication::exec();
}
