// Loads one collection file into the real window (offscreen, fake platform services),
// as choosing it on the settings page would, and prints what came of it:
//
//   bench_load FILE
//
// bench/collection_memory.sh runs it under /usr/bin/time on files that are no
// collections, to show the memory and time they cost beside an empty file.

#include "platform/fakes/FakeServiceSet.h"
#include "ui/frmConsole.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListView>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_load FILE\n");
        return 2;
    }

    FakeServiceSet fakes;
    frmConsole window(fakes.services(), QString());
    window.Form_Load();
    auto* list = window.findChild<QListView*>(QStringLiteral("kolekce"));

    QElapsedTimer timer;
    timer.start();
    window.LoadCollection(QString::fromLocal8Bit(argv[1]), [] {});
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    std::printf("%d entries in %.1f ms", list->model()->rowCount(), ms);
    for (const ShownMessage& shown : fakes.messages.shown)
        std::printf("; told: %s", shown.text.section(QLatin1Char('\r'), 0, 0).toUtf8().constData());
    std::printf("\n");
    return 0;
}
