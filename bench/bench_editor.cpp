// Measures the collection editor on long collections, driving the real window offscreen
// with fake platform services:
//
//   bench_editor [RUNS]
//
// For each case: the median and the worst of RUNS in milliseconds, and the longest
// stretch in which the window handled no events (a 1 ms timer that could not fire).

#include "platform/fakes/FakeServiceSet.h"
#include "platform/qt/ThreadedBackgroundWork.h"
#include "ui/frmConsole.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int FullCollection = 32767;

struct Figures {
    double median = 0;
    double worst = 0;
    double longestBlock = 0;
};

// The longest gap between two firings of a 1 ms timer while `step` runs: how long
// the window would have seemed frozen.
class BlockWatch {
public:
    BlockWatch()
    {
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { mark(); });
    }
    double run(const std::function<void()>& step)
    {
        m_longest = 0;
        m_since.start();
        m_timer.start();
        step();
        mark();
        m_timer.stop();
        return m_longest;
    }

private:
    void mark()
    {
        m_longest = std::max(m_longest, double(m_since.nsecsElapsed()) / 1e6);
        m_since.restart();
    }
    QTimer m_timer;
    QElapsedTimer m_since;
    double m_longest = 0;
};

class Bench {
public:
    // `work`: the real worker for the cases that measure what runs beside the window.
    explicit Bench(BackgroundWork* work = nullptr)
    {
        PlatformServices services = m_fakes.services();
        if (work)
            services.work = work;
        m_window = std::make_unique<frmConsole>(services, QString());
        m_window->Form_Load();
        m_list = m_window->findChild<QListView*>(QStringLiteral("kolekce"));
    }

    QString collectionFile(int entries)
    {
        QByteArray bytes;
        for (int i = 0; i < entries; ++i)
            bytes += QStringLiteral("/home/eva/Obrázky/dovolená %1/snímek.jpg")
                         .arg(i, 5, 10, QLatin1Char('0'))
                         .toLocal8Bit()
                + "\r\n";
        QString file = m_fakes.temp.filePath(QStringLiteral("c%1.tkl").arg(entries));
        QFile out(file);
        if (out.open(QIODevice::WriteOnly))
            out.write(bytes);
        return file;
    }

    // Opens the file in the editor, with nothing asked.
    void open(const QString& file)
    {
        m_window->collection().setEdited(false);
        m_window->Label26_Click();
        m_fakes.dialogs.results.push_back(file);
        m_window->Label5_Click();
    }

    void add(const QString& returned)
    {
        m_fakes.dialogs.results.push_back(returned);
        m_window->Label24_Click();
    }

    void remove() { m_window->Label23_Click(); }

    // A folder of `count` small pictures in subfolders of 1,000, and as many text files.
    QString pictureFolder(int count)
    {
        QString folder = m_fakes.temp.filePath(QStringLiteral("drop"));
        QImage picture(4, 3, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        for (int i = 0; i < count; ++i) {
            const QString sub = folder + QStringLiteral("/%1").arg(i / 1000, 2, 10, QLatin1Char('0'));
            QDir().mkpath(sub);
            picture.save(sub + QStringLiteral("/fotka %1.png").arg(i, 5, 10, QLatin1Char('0')), "PNG");
            QFile text(sub + QStringLiteral("/popis %1.txt").arg(i, 5, 10, QLatin1Char('0')));
            if (text.open(QIODevice::WriteOnly))
                text.write("no picture\n");
        }
        return folder;
    }
    // Drops `folder` on the editor and lets the window's event loop run until the list
    // holds `expected` entries.
    void dropAndWait(const QString& folder, int expected)
    {
        m_window->Form_OLEDragDrop({folder});
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (m_list->model()->rowCount() == expected)
                loop.quit();
        });
        poll.start(1);
        loop.exec();
    }
    QListView* list() const { return m_list; }
    frmConsole& window() { return *m_window; }
    ScriptedMessageBoxes& messages() { return m_fakes.messages; }

private:
    FakeServiceSet m_fakes;
    std::unique_ptr<frmConsole> m_window;
    QListView* m_list = nullptr;
};

Figures measure(int runs, const std::function<void()>& prepare, const std::function<void()>& step,
                const std::function<bool()>& check)
{
    BlockWatch watch;
    std::vector<double> ms;
    double longest = 0;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        longest = std::max(longest, watch.run(step));
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!check()) {
            std::fprintf(stderr, "wrong result\n");
            std::exit(1);
        }
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back(), longest};
}

void report(const char* name, const Figures& f)
{
    std::printf("%-58s %9.1f %9.1f %9.1f\n", name, f.median, f.worst, f.longestBlock);
}

QString dialogNames(const QString& folder, int count)
{
    QStringList parts{folder};
    // Reverse order: the dialog's order is not the list's.
    for (int i = count - 1; i >= 0; --i)
        parts << QStringLiteral("Fotka %1.JPG").arg(i, 5, 10, QLatin1Char('0'));
    return parts.join(QChar(0));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    Bench bench;
    bench.messages().defaultAnswer = MsgAnswer::Yes;
    const QString full = bench.collectionFile(FullCollection);
    const QString twenty = bench.collectionFile(20000);
    QListView* list = bench.list();

    std::printf("%-58s %9s %9s %9s\n", "case (ms)", "median", "worst", "blocked");

    report("LoadCollection of a 32767-line file into kolekce",
           measure(
               runs, [&] { bench.window().Label4_Click(); }, [&] { bench.window().LoadCollection(full, [] {}); },
               [&] { return list->model()->rowCount() == FullCollection; }));

    report("open a 32767-entry collection in the editor",
           measure(
               runs, [] {}, [&] { bench.open(full); }, [&] { return list->model()->rowCount() == FullCollection; }));

    report("remove all 32767 after select all",
           measure(
               runs,
               [&] {
                   bench.open(full);
                   list->selectAll();
               },
               [&] { bench.remove(); }, [&] { return list->model()->rowCount() == 0; }));

    report("remove all but the first of 32767",
           measure(
               runs,
               [&] {
                   bench.open(full);
                   list->selectAll();
                   list->selectionModel()->select(list->model()->index(0, 0), QItemSelectionModel::Deselect);
               },
               [&] { bench.remove(); }, [&] { return list->model()->rowCount() == 1; }));

    report("remove every other entry of 32767 (16384 marks)",
           measure(
               runs,
               [&] {
                   bench.open(full);
                   list->clearSelection();
                   for (int row = 0; row < list->model()->rowCount(); row += 2)
                       list->selectionModel()->select(list->model()->index(row, 0), QItemSelectionModel::Select);
               },
               [&] { bench.remove(); }, [&] { return list->model()->rowCount() == FullCollection / 2; }));

    report("remove 64 scattered entries of 32767 (run by run)",
           measure(
               runs,
               [&] {
                   bench.open(full);
                   list->clearSelection();
                   for (int i = 0; i < 64; ++i)
                       list->selectionModel()->select(list->model()->index(i * 511, 0), QItemSelectionModel::Select);
               },
               [&] { bench.remove(); }, [&] { return list->model()->rowCount() == FullCollection - 64; }));

    report("remove a run of 64 at the start of 32767 (run by run)",
           measure(
               runs,
               [&] {
                   bench.open(full);
                   list->clearSelection();
                   for (int row = 1; row <= 64; ++row)
                       list->selectionModel()->select(list->model()->index(row, 0), QItemSelectionModel::Select);
               },
               [&] { bench.remove(); }, [&] { return list->model()->rowCount() == FullCollection - 64; }));

    report("add 5000 files in one dialog to a new collection",
           measure(
               runs, [&] { bench.window().Label4_Click(); },
               [&] { bench.add(dialogNames(QStringLiteral("/home/eva/Obrázky"), 5000)); },
               [&] { return list->model()->rowCount() == 5000; }));

    report("add 5000 files in one dialog to 20000 entries",
           measure(
               runs, [&] { bench.open(twenty); },
               [&] { bench.add(dialogNames(QStringLiteral("/home/eva/Obrázky"), 5000)); },
               [&] { return list->model()->rowCount() == 25000; }));

    report("add 40 files one dialog at a time to 20000 entries",
           measure(
               runs, [&] { bench.open(twenty); },
               [&] {
                   for (int i = 0; i < 40; ++i)
                       bench.add(QStringLiteral("/home/eva/nové/%1.png").arg(i));
               },
               [&] { return list->model()->rowCount() == 20040; }));

    // The folder is searched beside the window: the figure that counts is the window's
    // longest stretch without events.
    ThreadedBackgroundWork beside;
    Bench dropping(&beside);
    const QString folder = dropping.pictureFolder(20000);
    QListView* dropList = dropping.list();
    report("drop a folder of 20000 pictures and 20000 other files",
           measure(
               runs, [&] { dropping.window().Label4_Click(); }, [&] { dropping.dropAndWait(folder, 20000); },
               [&] { return dropList->model()->rowCount() == 20000; }));
    return 0;
}
