// Faults from outside while the window runs: a full disk, files that vanish or turn
// to garbage, hostile collections and settings, a desktop that refuses the wallpaper.
// The window keeps running, tells the user what to act on, and never loses a file it
// had or the wallpaper that is showing.
#include "WindowFixture.h"

#include "engine/CollectionFile.h"
#include "platform/qt/QtMessageBoxes.h"
#include "tests/unit/FileSizeLimit.h"

#if defined(Q_OS_UNIX)
#include "platform/linux/IniSettingsStore.h"
#endif

#include <QDir>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QTimer>

namespace {

#if !defined(Q_OS_UNIX)
const char* const NoFileSizeLimit = "Windows has no limit on the size of a process's files to fill the disk with";
const char* const NoSettingsFile = "the Windows program keeps its options in the registry, not in a settings file";
#endif

const QString NotFound = QStringLiteral("Kolekce tapet nebyla nalezena.");
const QString SettingsNotSaved
    = QStringLiteral("Nastavení aplikace se nepodařilo uložit.\r"
                     "Zkontrolujte, zda je složka s nastavením zapisovatelná a disk není plný.");
QString notACollection(const QString& file)
{
    return QStringLiteral("Soubor %1 není kolekce tapet nebo je poškozený.\r"
                          "Přidány byly jen tapety přečtené před poškozeným místem.")
        .arg(file);
}
QString longLines(const QString& file)
{
    return QStringLiteral("Některé řádky souboru %1 jsou delší, než může být cesta k souboru.\r"
                          "Tyto řádky nebyly přidány.")
        .arg(file);
}
// The size of the built-in error picture.
const QSize ErrorPicture(320, 240);

QByteArray bytesOf(const QString& file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<missing>");
}

void overwrite(const QString& file, const QByteArray& bytes)
{
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(out.write(bytes), bytes.size());
}

// The bytes of a string literal, NULs included.
template <size_t N> QByteArray raw(const char (&text)[N])
{
    return QByteArray(text, qsizetype(N - 1));
}

QByteArray garbage(qsizetype size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, '\0');
    for (char& byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

} // namespace

class Faults : public WindowFixture {
protected:
    // Three pictures told apart by their widths: a (10), b (20), c (30).
    QString threePictures()
    {
        const QString c = makePicture(QStringLiteral("c.png"), Qt::blue, 30);
        const QString a = makePicture(QStringLiteral("a.png"), Qt::red, 10);
        const QString b = makePicture(QStringLiteral("b.png"), Qt::green, 20);
        return writeCollection(QStringLiteral("tri.tkl"), {c, a, b});
    }
    QString bitmap() const { return location.dir + QStringLiteral("/tapetor.bmp"); }
    QSize lastApplied() const { return wallpaper.calls.back().pictureSize; }
#if defined(Q_OS_UNIX)
    // The window with the real INI store instead of the in-memory one.
    void startWithStore(IniSettingsStore& store)
    {
        PlatformServices real = services();
        real.settings = &store;
        window = std::make_unique<frmConsole>(real, QString());
        window->Form_Load();
    }
#endif
    // Makes a change due at the next whole second of the fake clock.
    void changeEverySecond()
    {
        control<QCheckBox>("Check2")->setChecked(true);
        control<QRadioButton>("Option3")->setChecked(true);
        control<QLineEdit>("Text1")->setText(QStringLiteral("0.0167"));
    }
};

TEST_F(Faults, AFullDiskWhileWritingTheBitmapKeepsTheBitmapWhole)
{
#if !defined(Q_OS_UNIX)
    GTEST_SKIP() << NoFileSizeLimit;
#else
    storeOption(QStringLiteral("kolekce"), threePictures());
    start();
    ASSERT_EQ(wallpaper.calls.size(), 1u);
    const QByteArray shown = bytesOf(bitmap());
    ASSERT_GT(shown.size(), 54);
    {
        const FileSizeLimit full{100};
        click("changeNow");
    }
    ASSERT_EQ(wallpaper.calls.size(), 2u);
    // The desktop has the new picture before the write fails.
    EXPECT_TRUE(wallpaper.calls[1].hadPicture);
    EXPECT_EQ(bytesOf(bitmap()), shown);
    EXPECT_EQ(QDir(location.dir).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("tapetor.bmp")})
        << "no half-written bitmap is left behind";
    EXPECT_TRUE(messages.shown.empty()) << "a change that cannot be made is skipped without a message";
    EXPECT_EQ(text("changeNow"), QStringLiteral("změnit tapetu ihned"));

    // With room again the changes go on.
    click("changeNow");
    EXPECT_TRUE(wallpaper.calls.back().hadPicture);
    const QByteArray written = bytesOf(bitmap());
    EXPECT_NE(written, shown);

    // A desktop that reads the file itself is handed the bitmap it already shows.
    wallpaper.readsFile = true;
    {
        const FileSizeLimit full{100};
        click("changeNow");
    }
    EXPECT_FALSE(wallpaper.calls.back().hadPicture);
    EXPECT_EQ(wallpaper.calls.back().bmpBytes, written.size());
    EXPECT_EQ(bytesOf(bitmap()), written);
#endif
}

TEST_F(Faults, AFullDiskWhileSavingACollectionKeepsThePreviousFileAndTheWork)
{
#if !defined(Q_OS_UNIX)
    GTEST_SKIP() << NoFileSizeLimit;
#else
    start();
    const QString target = writeCollection(QStringLiteral("stara.tkl"), {QStringLiteral("/stara/a.png")});
    const QByteArray previous = bytesOf(target);
    click("Label4");
    const QString picture = makePicture(QStringLiteral("nova.png"), Qt::cyan);
    dialogs.results.push_back(picture);
    click("Label24");
    dialogs.results.push_back(target);
    {
        const FileSizeLimit full{4};
        click("Label25");
    }
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].style, 16);
    EXPECT_TRUE(messages.shown[0].text.contains(target));
    EXPECT_EQ(bytesOf(target), previous);
    EXPECT_TRUE(visible("editBox"));
    EXPECT_EQ(entries(), QStringList{picture});
    EXPECT_TRUE(window->collection().edited());
    const QStringList left = QDir(temp.path()).entryList({QStringLiteral("stara*")}, QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList{QStringLiteral("stara.tkl")}) << "no temporary file is left behind";
#endif
}

TEST_F(Faults, SettingsThatCannotBeWrittenAreReportedOnceAndTheFileStaysWhole)
{
#if !defined(Q_OS_UNIX)
    GTEST_SKIP() << NoSettingsFile;
#else
    QTemporaryDir config;
    IniSettingsStore store(config.path());
    ASSERT_TRUE(store.write(QStringLiteral("tapetor"), QStringLiteral("options"), QStringLiteral("interval"),
                            QStringLiteral("45")));
    const QString file = store.filePath(QStringLiteral("tapetor"));
    startWithStore(store);
    EXPECT_EQ(text("Text1"), QStringLiteral("45"));
    window->SaveSettings();
    const QByteArray saved = bytesOf(file);
    ASSERT_TRUE(saved.contains("interval=45"));
    ASSERT_TRUE(messages.shown.empty());

    control<QLineEdit>("Text1")->setText(QStringLiteral("7"));
    {
        const FileSizeLimit full{0};
        window->close();
        window->close();
        window->SaveSettings();
    }
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, SettingsNotSaved);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("tapetor"));
    EXPECT_EQ(messages.shown[0].style, 16);
    EXPECT_EQ(bytesOf(file), saved);
    EXPECT_EQ(QDir(QFileInfo(file).path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("tapetor.ini")});
    EXPECT_TRUE(process.exitCodes.empty()) << "the program runs on";

    // Once there is room the next close writes the options, without a word.
    window->close();
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(bytesOf(file).contains("interval=7"));
#endif
}

TEST_F(Faults, GarbageAndRepeatedKeysInTheSettingsFileLoadAsFarAsTheyMakeSense)
{
#if !defined(Q_OS_UNIX)
    GTEST_SKIP() << NoSettingsFile;
#else
    QTemporaryDir config;
    QDir().mkpath(config.filePath(QStringLiteral("tapetor")));
    const QString file = config.filePath(QStringLiteral("tapetor/tapetor.ini"));
    overwrite(file,
              raw("[options]\n"
                  "startup=ano\n"
                  "run=0\n"
                  "run=1\n"
                  "interval=\xff\xfe"
                  "15 minut\n"
                  "afterstart=fALSE\n"
                  "afterinterval=TRUE\n"
                  "random=\x01\x02\n"
                  "v_stretch=\n"
                  "v_center=nevim\n"
                  "v_cascade=2\n"
                  "kolekce=\x7f\x00\x03/neni.tkl\n"
                  "a line without a value\n"
                  "=no key\n"
                  "[options]\n"
                  "startup=0\n"
                  "[uss3\n"
                  "path=/x\n")
                  + QByteArray(100000, 'k') + "\n");
    IniSettingsStore store(config.path());
    startWithStore(store);
    // Texts that convert take effect, the last of a repeated key counting; the others
    // leave their control as it was.
    EXPECT_TRUE(control<QCheckBox>("Check2")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("Check1")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("Check3")->isChecked());
    EXPECT_EQ(text("Text1"), QStringLiteral("60")) << "the text begins with no number";
    EXPECT_FALSE(control<QRadioButton>("Option1")->isChecked());
    EXPECT_TRUE(control<QRadioButton>("Option3")->isChecked());
    EXPECT_TRUE(control<QRadioButton>("Option5")->isChecked()) << "a non-zero number selects";
    EXPECT_FALSE(control<QRadioButton>("Option2")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("Option4")->isChecked());
    // The collection named by the garbage does not exist; the user is told so.
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, NotFound);
    EXPECT_EQ(text("statusMain"), QStringLiteral("je aktivní"));

    // Saving writes a clean file: no false alarm, every key once, and a new start
    // reads the same options back.
    window->close();
    EXPECT_EQ(messages.shown.size(), 1u) << "the settings were saved";
    const QByteArray saved = bytesOf(file);
    for (const char* key : {"run=", "startup=", "interval=", "v_cascade=", "afterinterval="})
        EXPECT_EQ(saved.count(QByteArray("\n") + key), 1) << key;
    EXPECT_TRUE(saved.contains("\nrun=1\n"));
    EXPECT_TRUE(saved.contains("\nv_cascade=True\n"));
    const QString collection = text("Label31");
    window.reset();
    IniSettingsStore again(config.path());
    startWithStore(again);
    EXPECT_TRUE(control<QRadioButton>("Option5")->isChecked());
    EXPECT_TRUE(control<QRadioButton>("Option3")->isChecked());
    EXPECT_EQ(text("Text1"), QStringLiteral("60"));
    EXPECT_EQ(text("Label31"), collection);
#endif
}

TEST_F(Faults, TheChosenCollectionDeletedOrTurnedToGarbageWhileInUse)
{
    const QString chosen = threePictures();
    storeOption(QStringLiteral("kolekce"), chosen);
    start();
    changeEverySecond();

    // Deleted: going back to it after the editor says so and leaves an empty list.
    ASSERT_TRUE(QFile::remove(chosen));
    click("Label4");
    click("Label26");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, NotFound);
    EXPECT_TRUE(entries().isEmpty());
    EXPECT_EQ(text("pocetObr"), QStringLiteral("počet tapet: 0"));
    // Changes still come when due; with nothing to show the desktop keeps its wallpaper.
    const size_t before = wallpaper.calls.size();
    for (int i = 0; i < 30; ++i)
        tick();
    ASSERT_GT(wallpaper.calls.size(), before);
    EXPECT_FALSE(wallpaper.calls.back().hadPicture);
    EXPECT_EQ(messages.shown.size(), 1u);

    // Replaced by binary garbage: it loads as whatever lines it holds up to its first
    // NUL byte, which no collection holds; the user is told once, and each of the lines
    // shows the error picture.
    QByteArray junk = garbage(64LL * 1024, 7);
    junk.replace('\0', '\n');
    junk += raw("\0") + garbage(1024, 8);
    overwrite(chosen, junk);
    click("Label4");
    click("Label26");
    const CollectionReading read = parseCollection(junk);
    ASSERT_TRUE(read.notACollection);
    const int lines = int(read.entries.size());
    ASSERT_GT(lines, 10);
    EXPECT_EQ(listCount(), lines);
    EXPECT_EQ(currentRow(), 0);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text, notACollection(chosen));
    EXPECT_EQ(messages.shown[1].title, QStringLiteral("Chyba"));
    for (int i = 0; i < 50; ++i)
        tick();
    EXPECT_EQ(lastApplied(), ErrorPicture);
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(listCount(), lines);
}

TEST_F(Faults, APictureTurnedToGarbageAfterItWasPreparedIsAppliedAsPrepared)
{
    storeOption(QStringLiteral("kolekce"), threePictures());
    start();
    // c (30) is prepared in the preview; its file now turns to garbage.
    ASSERT_EQ(text("Label27"), path(QStringLiteral("c.png")));
    overwrite(path(QStringLiteral("c.png")), garbage(5000, 3));
    click("changeNow");
    EXPECT_EQ(lastApplied().width(), 30) << "the picture decoded when it was prepared";
    click("changeNow");
    click("changeNow");
    EXPECT_EQ(lastApplied().width(), 20);
    // Prepared again now, it is the garbage that is read: the error picture stands in.
    EXPECT_EQ(text("Label27"), path(QStringLiteral("c.png")));
    EXPECT_EQ(text("tapetainfo"), QStringLiteral("320x240, 24 bitů"));
    click("changeNow");
    EXPECT_EQ(lastApplied(), ErrorPicture);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Faults, CollectionsWithNulBytesLongLinesAndBrokenTextLoadWhatTheyCanAndChange)
{
    const QString picture = makePicture(QStringLiteral("ok.png"), Qt::red, 15);
    const QString file = path(QStringLiteral("hostile.tkl"));
    struct Case {
        const char* name;
        QByteArray bytes;
        int entries;
        QString message;
    };
    const QByteArray ok = picture.toLocal8Bit();
    const QByteArray overLong(kMaxEntryBytes + 1, 'm');
    const QByteArray megabyte(1 << 20, 'm');
    const Case cases[] = {
        // Reading stops at the NUL byte; the entry before it stays.
        {"NUL bytes", ok + "\r\n" + raw("/x\0y.png\r\n\0\0\0\r\n") + ok + "\r\n", 1, notACollection(file)},
        // Lines longer than a path are left out, the rest is read.
        {"over-long lines", "/" + overLong + "\r\n" + ok + "\r\n/" + overLong + "a\r\n" + ok, 2, longLines(file)},
        {"a line of 4096 bytes", "/" + QByteArray(kMaxEntryBytes - 1, 'm') + "\r\n" + ok, 2, {}},
        // A megabyte without a line end is no collection.
        {"a line of 1 MB", ok + "\r\n/" + megabyte + "\r\n" + ok + "\r\n", 1, notACollection(file)},
        {"invalid UTF-8", ok + "\r\n/\xff\xfe\xc3(.png\r\n/\xed\xa0\x80\r\n\xf4\x90\x80\x80", 4, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        storeOption(QStringLiteral("kolekce"), file);
        overwrite(file, c.bytes);
        wallpaper.calls.clear();
        messages.shown.clear();
        start();
        EXPECT_EQ(listCount(), c.entries);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(messages.shown.empty());
        } else {
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0].text, c.message);
            EXPECT_EQ(messages.shown[0].title, QStringLiteral("Chyba"));
            EXPECT_EQ(messages.shown[0].style, MsgStyle::OkCritical);
        }
        for (int i = 0; i < c.entries + 1; ++i)
            click("changeNow");
        ASSERT_EQ(wallpaper.calls.size(), size_t(c.entries + 2));
        int good = 0;
        for (const auto& call : wallpaper.calls) {
            EXPECT_TRUE(call.pictureSize == QSize(15, 30) || call.pictureSize == ErrorPicture);
            good += call.pictureSize == QSize(15, 30);
        }
        EXPECT_GE(good, 1) << "the one good picture still comes round";
        window.reset();
    }
}

TEST_F(Faults, ACollectionOf40000LinesLoadsItsFirst32767AndSaysSo)
{
    QByteArray bytes;
    bytes.reserve(40000LL * 16);
    for (int i = 0; i < 40000; ++i)
        bytes += "/p/" + QByteArray::number(40000 - i) + ".png\r\n";
    overwrite(path(QStringLiteral("dlouha.tkl")), bytes);
    storeOption(QStringLiteral("kolekce"), path(QStringLiteral("dlouha.tkl")));
    start();
    EXPECT_EQ(listCount(), 32767);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("Kolekce může obsahovat nejvýše 32767 tapet.\r"
                             "Další tapety nebyly přidány."));
    EXPECT_EQ(wallpaper.calls.size(), 1u);
    click("changeNow");
    EXPECT_EQ(wallpaper.calls.size(), 2u);
}

TEST_F(Faults, ACollectionOfMoreThan8MiBLoadsItsBeginningAndSaysItIsTooLarge)
{
    // 2100 paths of 4000 bytes: real paths, only too many bytes of them.
    QByteArray bytes;
    for (int i = 0; i < 2100; ++i)
        bytes += "/" + QByteArray::number(1000 + i) + QByteArray(3995, 'v') + "\r\n";
    const QString file = path(QStringLiteral("velka.tkl"));
    overwrite(file, bytes);
    storeOption(QStringLiteral("kolekce"), file);
    start();
    EXPECT_EQ(listCount(), 8 * 1024 * 1024 / 4000);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("Soubor %1 je příliš velký pro kolekci tapet.\r"
                             "Přidány byly jen tapety přečtené z jeho začátku.")
                  .arg(file));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Chyba"));
    EXPECT_EQ(messages.shown[0].style, MsgStyle::OkCritical);
}

TEST_F(Faults, ADesktopThatRefusesTheWallpaperStopsNothing)
{
    wallpaper.result = false;
    storeOption(QStringLiteral("kolekce"), threePictures());
    start();
    changeEverySecond();
    for (int i = 0; i < 40; ++i)
        tick();
    EXPECT_GE(wallpaper.calls.size(), 4u);
    EXPECT_TRUE(messages.shown.empty());
    // The sequence walks on: a, b, c in turn.
    std::vector<int> widths;
    for (const auto& call : wallpaper.calls)
        widths.push_back(call.pictureSize.width());
    for (size_t i = 1; i < widths.size(); ++i)
        EXPECT_EQ(widths[i], widths[i - 1] % 30 + 10) << i;
    EXPECT_EQ(text("changeNow"), QStringLiteral("změnit tapetu ihned"));
}

TEST_F(Faults, TheEditorOpensGarbageAndNonPicturesAndSavesThemBackWhole)
{
    start();
    // Garbage without NUL bytes, which would end the reading.
    QByteArray junk = garbage(16LL * 1024, 11);
    junk.replace('\0', '\r');
    const QString file = path(QStringLiteral("smeti.tkl"));
    overwrite(file, junk);
    dialogs.results.push_back(file);
    click("Label5");
    const int lines = int(parseCollection(junk).entries.size());
    ASSERT_GT(lines, 3);
    EXPECT_EQ(listCount(), lines);
    EXPECT_EQ(text("tapetainfo"), QStringLiteral("320x240, 24 bitů")) << "the first entry is no picture";

    // A file that is no picture can be added; it previews as the error picture.
    const QString notAPicture = path(QStringLiteral("dopis.png"));
    overwrite(notAPicture, "Vážený pane,\r\n");
    dialogs.results.push_back(notAPicture);
    click("Label24");
    const int added = int(entries().indexOf(notAPicture));
    ASSERT_GE(added, 0);
    setCurrentRow(added);
    EXPECT_EQ(text("Label27"), notAPicture);
    EXPECT_EQ(text("tapetainfo"), QStringLiteral("320x240, 24 bitů"));

    // Saved over itself, the file holds every entry, and reads back as the same list.
    const QStringList before = entries();
    dialogs.results.push_back(file);
    click("Label25");
    EXPECT_FALSE(visible("editBox"));
    QStringList after;
    for (const CollectionEntry& entry : parseCollection(bytesOf(file)).entries)
        after << entry.text;
    EXPECT_EQ(after, before);
    EXPECT_TRUE(messages.shown.empty());
}

TEST(MessageBoxes, ShowTheirTextAsWrittenNeverAsMarkup)
{
    struct Case {
        QString text;
        int style;
        QString shown;
    };
    const Case cases[] = {
        {QStringLiteral("Soubor /tmp/<b>a</b>.tkl není kolekce.\rDalší věta."), MsgStyle::OkCritical,
         QStringLiteral("Soubor /tmp/<b>a</b>.tkl není kolekce.\nDalší věta.")},
        {QStringLiteral("Uložit /tmp/a&amp;b &lt;c&gt;.tkl?"), MsgStyle::YesNoQuestion,
         QStringLiteral("Uložit /tmp/a&amp;b &lt;c&gt;.tkl?")},
    };
    QtMessageBoxes boxes;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        Qt::TextFormat format = Qt::AutoText;
        QString text;
        // The box is modal: it is read, then closed, from inside its own loop.
        QTimer closer;
        closer.setSingleShot(true);
        QObject::connect(&closer, &QTimer::timeout, [&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
                    format = box->textFormat();
                    text = box->text();
                    box->done(QMessageBox::No);
                }
            }
        });
        closer.start(0);
        boxes.show(nullptr, c.text, QStringLiteral("Chyba"), c.style);
        EXPECT_EQ(format, Qt::PlainText);
        EXPECT_EQ(text, c.shown);
    }
}
