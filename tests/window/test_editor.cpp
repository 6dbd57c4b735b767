// The collection editor page: new, open, add, remove, save and close.
#include "WindowFixture.h"

#include "platform/qt/ThreadedBackgroundWork.h"
#include "ui/PreviewBox.h"
#include "tests/unit/FolderRemovedByBytes.h"

#include <QBuffer>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QUrl>
#include <QFile>
#include <QItemSelectionModel>

#include <cstdio>

namespace {

const QString NewTitle = QStringLiteral("vytvořit novou kolekci");
const QString UnsavedText
    = QStringLiteral("Kolekce tapet byla změněna, ale nebyla uložena.\rChcete přesto pokračovat?");

QString nulJoined(const QStringList& parts)
{
    return parts.join(QChar(0));
}

QByteArray crlfLines(const QStringList& entries)
{
    QByteArray bytes;
    for (const QString& entry : entries)
        bytes += entry.toLocal8Bit() + "\r\n";
    return bytes;
}

} // namespace

class Editor : public WindowFixture {
protected:
    // The chosen collection: two pictures told apart by their widths, whose sorted
    // order differs from the file's.
    QString chooseCollection()
    {
        const QString second = makePicture(QStringLiteral("volba-b.png"), Qt::green, 22);
        const QString first = makePicture(QStringLiteral("volba-a.png"), Qt::red, 11);
        QString file = writeCollection(QStringLiteral("zvolena.tkl"), {second, first});
        storeOption(QStringLiteral("kolekce"), file);
        storeOption(QStringLiteral("interval"), QStringLiteral("5"));
        return file;
    }
    void add(const QString& returnedByDialog)
    {
        dialogs.results.push_back(returnedByDialog);
        click("Label24");
    }
    void saveAs(const QString& file)
    {
        dialogs.results.push_back(file);
        click("Label25");
    }
    // Dropped from a file manager onto the window: Qt delivers a drop only after its drag
    // entered.
    void drop(const QStringList& paths)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& dropped : paths)
            urls << QUrl::fromLocalFile(dropped);
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &enter);
        QDropEvent event(QPointF(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &event);
    }
    // A folder of two pictures, one a level down, beside a text file and a text file
    // named as a picture.
    QString pictureTree()
    {
        EXPECT_TRUE(QDir().mkpath(path(QStringLiteral("strom/pod"))));
        makePicture(QStringLiteral("strom/a.png"), Qt::red);
        makePicture(QStringLiteral("strom/pod/b.png"), Qt::blue);
        for (const char* text : {"strom/poznamky.txt", "strom/pod/nic.png"}) {
            QFile file(path(QLatin1String(text)));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write("no picture\n") > 0);
        }
        return path(QStringLiteral("strom"));
    }
    QStringList pictures(std::initializer_list<const char*> names)
    {
        QStringList made;
        for (const char* name : names)
            made << makePicture(QLatin1String(name), Qt::yellow);
        return made;
    }
    // Marks the rows as a user would: a click on the first, Shift+click on the last.
    void markRange(int first, int last)
    {
        QWidget* viewport = list()->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, list()->visualRect(list()->model()->index(first, 0)).center());
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier,
                          list()->visualRect(list()->model()->index(last, 0)).center());
    }
    static QByteArray bytesOf(const QString& file)
    {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<unreadable>");
    }
    QImage preview() const { return control<PreviewBox>("nahled")->picture(); }
    QString expectedNextChange() const { return clock.now().addSecs(300).time().toString(QStringLiteral("H:mm:ss")); }
};

TEST_F(Editor, NewCollectionStartsEmptyWithoutPreview)
{
    const QString chosen = chooseCollection();
    start();
    ASSERT_FALSE(preview().isNull()) << "the chosen collection's picture is in the preview";
    click("Image3");
    EXPECT_TRUE(visible("editBox"));
    EXPECT_EQ(control<QWidget>("editBox")->pos(), QPoint(8, 64));
    EXPECT_EQ(text("nadpis"), NewTitle);
    EXPECT_EQ(window->collection().path(), QStringLiteral("000"));
    EXPECT_EQ(text("pocetObr"), QStringLiteral("počet tapet: 0"));
    EXPECT_FALSE(window->collection().edited());
    EXPECT_TRUE(entries().isEmpty());
    EXPECT_TRUE(preview().isNull());
    EXPECT_EQ(text("tapetainfo"), QString());
    EXPECT_EQ(text("Label27"), QString());
}

TEST_F(Editor, AddingJoinsFolderAndNamesWithOneSeparatorAndSorts)
{
    start();
    click("Label4");
    const QStringList made = pictures({"c.png", "A.png", "b.png", "d.png"});
    add(made.at(3)); // one file: its full path
    add(nulJoined({temp.path(), QStringLiteral("c.png"), QStringLiteral("A.png")}));
    add(nulJoined({temp.path() + QLatin1Char('/'), QStringLiteral("b.png")}));
    add(nulJoined({QStringLiteral("/"), QStringLiteral("kořen.png"), QStringLiteral("B0.png")}));
    EXPECT_EQ(entries(),
              (QStringList{"/B0.png", "/kořen.png", path("A.png"), path("b.png"), path("c.png"), path("d.png")}));
    EXPECT_EQ(text("pocetObr"), QStringLiteral("počet tapet: 6"));
    EXPECT_TRUE(window->collection().edited());
    EXPECT_TRUE(preview().isNull()) << "adding makes no entry current";

    ASSERT_EQ(dialogs.calls.size(), 4u);
    const CommonDialog& shown = dialogs.calls.back().settings;
    EXPECT_FALSE(dialogs.calls.back().save);
    EXPECT_EQ(shown.flags, 0x280200);
    EXPECT_EQ(shown.filter,
              QStringLiteral("obrázek (.bmp .gif .jpg .png)|*.bmp;*.gif;*.jpg;*.jpeg;*.png|All (*.*)|*.*"));
    EXPECT_EQ(shown.maxFileSize, 32000);
    EXPECT_TRUE(shown.cancelError);
    EXPECT_TRUE(shown.dialogTitle.isEmpty());
    EXPECT_TRUE(shown.fileName.isEmpty()) << "no name is carried over from the previous choice";
    EXPECT_TRUE(messages.shown.empty());

    // Several at once into the middle: each goes by the list as the one before left it.
    add(nulJoined({QStringLiteral("/m"), QStringLiteral("k.png"), QStringLiteral("p.png")}));
    EXPECT_EQ(entries().mid(1, 4), (QStringList{"/kořen.png", "/m/k.png", "/m/p.png", path("A.png")}));
}

TEST_F(Editor, DroppedFilesAreAddedAsChosenOnesAndFoldersGiveThePicturesInTheirTree)
{
    start();
    const QString file = writeCollection(QStringLiteral("pretazena.tkl"), pictures({"k.png"}));
    drop({file});
    EXPECT_TRUE(visible("editBox")) << "a collection dropped on the start page opens in the editor";
    EXPECT_EQ(text("nadpis"), QStringLiteral("upravit kolekci"));
    EXPECT_EQ(entries(), QStringList{path("k.png")});

    drop({path("z.png"), pictureTree()});
    EXPECT_EQ(entries(), (QStringList{path("k.png"), path("strom/a.png"), path("strom/pod/b.png"), path("z.png")}))
        << "a loose file is taken as chosen; in folders only what reads as a picture";
    EXPECT_EQ(text("pocetObr"), QStringLiteral("počet tapet: 4"));
    EXPECT_TRUE(window->collection().edited());
    EXPECT_TRUE(messages.shown.empty());
}

// The real worker, held up until the test lets it go: the search waits behind it.
TEST_F(Editor, AFolderSearchCanBeCancelled)
{
    ThreadedBackgroundWork beside;
    PlatformServices real = services();
    real.work = &beside;
    window = std::make_unique<frmConsole>(real, QString());
    window->Form_Load();
    click("Label4");
    Gate gate;
    beside.run(
        nullptr, [&gate] { gate.pass(); }, [] {});
    drop({pictureTree()});
    auto* search = window->findChild<QProgressDialog*>(QStringLiteral("folderSearch"));
    auto* cancel = search ? search->findChild<QPushButton*>() : nullptr;
    EXPECT_NE(cancel, nullptr);
    EXPECT_FALSE(control<QWidget>("Label24")->isEnabled()) << "no other add while it searches";
    if (cancel)
        cancel->click();
    gate.open();
    beside.finish();
    EXPECT_EQ(listCount(), 0);
    EXPECT_FALSE(window->collection().edited());
    EXPECT_TRUE(control<QWidget>("Label24")->isEnabled());
    window.reset();
}

TEST_F(Editor, AFileAddedTwiceIsTwoEntriesAndACancelledAddChangesNothing)
{
    start();
    click("Label4");
    dialogs.results.push_back(std::nullopt);
    click("Label24");
    EXPECT_FALSE(window->collection().edited());
    EXPECT_EQ(text("pocetObr"), QStringLiteral("počet tapet: 0"));

    const QString picture = makePicture(QStringLiteral("x.png"), Qt::cyan);
    add(picture);
    add(nulJoined({temp.path(), QStringLiteral("x.png"), QStringLiteral("x.png")}));
    EXPECT_EQ(entries(), (QStringList{picture, picture, picture}));
    EXPECT_EQ(text("pocetObr"), QStringLiteral("počet tapet: 3"));
}

TEST_F(Editor, RemovingAShiftClickedRunRemovesEveryMarkedEntry)
{
    start();
    click("Label4");
    const QStringList made = pictures({"1.png", "2.png", "3.png", "4.png", "5.png", "6.png"});
    add(nulJoined(QStringList{temp.path()} + QStringList{"1.png", "2.png", "3.png", "4.png", "5.png", "6.png"}));
    ASSERT_EQ(entries(), made);
    markRange(1, 3);
    ASSERT_EQ(markedRows(), (QList<int>{1, 2, 3}));
    ASSERT_EQ(text("Label27"), made.at(3)) << "the last clicked entry is current";

    click("Label23");
    EXPECT_EQ(entries(), (QStringList{made.at(0), made.at(4), made.at(5)}));
    EXPECT_EQ(text("pocetObr"), QStringLiteral("počet tapet: 3"));
    EXPECT_TRUE(window->collection().edited());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, RemoveQuestion);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Odebrat tapety"));
    EXPECT_EQ(messages.shown[0].style, 36);
    // The removed current entry hands over to the kept one above it, and the preview follows.
    EXPECT_EQ(currentRow(), 0);
    EXPECT_EQ(text("Label27"), made.at(0));
}

TEST_F(Editor, RemovingARunThatBeginsAtTheCurrentEntryPreviewsAKeptOne)
{
    start();
    click("Label4");
    const QStringList made = pictures({"1.png", "2.png", "3.png", "4.png", "5.png", "6.png"});
    add(nulJoined(QStringList{temp.path()} + QStringList{"1.png", "2.png", "3.png", "4.png", "5.png", "6.png"}));
    // Marked from the bottom up, so the run's first row is the current entry.
    markRange(3, 1);
    ASSERT_EQ(markedRows(), (QList<int>{1, 2, 3}));
    ASSERT_EQ(currentRow(), 1);
    click("Label23");
    EXPECT_EQ(entries(), (QStringList{made.at(0), made.at(4), made.at(5)}));
    EXPECT_EQ(currentRow(), 0);
    EXPECT_EQ(text("Label27"), made.at(0)) << "the preview follows the current entry to one that was kept";

    // A run at the top has no kept entry above it; the one below takes over.
    markRange(1, 0);
    ASSERT_EQ(currentRow(), 0);
    click("Label23");
    EXPECT_EQ(entries(), QStringList{made.at(5)});
    EXPECT_EQ(text("Label27"), made.at(5));
}

TEST_F(Editor, ManyScatteredMarksAreRemovedAndTheCurrentEntryHandsOverAlike)
{
    start();
    click("Label4");
    QStringList names;
    for (int i = 0; i < 300; ++i)
        names << QStringLiteral("p%1.png").arg(i, 3, 10, QLatin1Char('0'));
    add(nulJoined(QStringList{QStringLiteral("/obrázky")} + names));
    ASSERT_EQ(listCount(), 300);

    // Scattered single marks, a long run and the last entry: more than the run-by-run
    // removal takes, so the list is rebuilt from what is kept.
    QStringList kept;
    for (int row = 0; row < 300; ++row) {
        const bool mark = row % 3 == 0 || (row >= 100 && row < 200) || row == 299;
        if (mark)
            markRow(row, true);
        else
            kept << entryText(row);
    }
    setCurrentRow(150, QItemSelectionModel::NoUpdate);

    click("Label23");
    EXPECT_EQ(entries(), kept);
    EXPECT_TRUE(markedRows().isEmpty());
    EXPECT_EQ(text("pocetObr"), QStringLiteral("počet tapet: %1").arg(kept.size()));
    EXPECT_EQ(currentRow() >= 0 ? entryText(currentRow()) : QString(), QStringLiteral("/obrázky/p098.png"))
        << "the nearest kept entry above the removed current one";
    EXPECT_EQ(text("Label27"), QStringLiteral("/obrázky/p098.png"));

    // Removing everything leaves the empty editor of a new collection.
    list()->selectAll();
    click("Label23");
    EXPECT_TRUE(entries().isEmpty());
    EXPECT_EQ(text("pocetObr"), QStringLiteral("počet tapet: 0"));
    EXPECT_EQ(text("Label27"), QString());
    EXPECT_EQ(text("tapetainfo"), QString());
}

TEST_F(Editor, RemovingAsksFirstThenReportsThatNothingIsMarked)
{
    start();
    click("Label4");
    const QString picture = makePicture(QStringLiteral("x.png"), Qt::cyan);
    add(picture);
    markRow(0, true);
    messages.answers = {MsgAnswer::No};
    click("Label23");
    EXPECT_EQ(entries(), QStringList{picture}) << "No keeps the entries";

    list()->clearSelection();
    messages.shown.clear();
    click("Label23");
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, RemoveQuestion);
    EXPECT_EQ(messages.shown[1].text, QStringLiteral("Nebyly vybrány tapety pro odstranění z kolekce."));
    EXPECT_EQ(messages.shown[1].title, QStringLiteral("Chyba"));
    EXPECT_EQ(messages.shown[1].style, 16);
    EXPECT_EQ(entries(), QStringList{picture});
    EXPECT_EQ(text("pocetObr"), QStringLiteral("počet tapet: 1"));
}

TEST_F(Editor, SavingAnEmptyCollectionIsRefusedAndThePageStays)
{
    start();
    click("Label4");
    click("Label25");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("V kolekci nejsou vybrány tapety. Vyberte tapety do kolekce a "
                             "zkuste kolekci uložit znovu."));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Chyba"));
    EXPECT_EQ(messages.shown[0].style, 16);
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_TRUE(visible("editBox"));
}

TEST_F(Editor, SavingANewCollectionWritesSortedCrLfLinesTellsTheUserAndGivesTheChosenOneBack)
{
    const QString chosen = chooseCollection();
    start();
    click("Label4");
    const QStringList made = pictures({"c.png", "A.png", "b.png"});
    add(made.at(0));
    add(made.at(1));
    add(made.at(2));
    clock.advanceMs(90'000);
    const QString target = path(QStringLiteral("nová.tkl"));
    saveAs(target);

    ASSERT_EQ(dialogs.calls.size(), 4u);
    const DialogCall& save = dialogs.calls.back();
    EXPECT_TRUE(save.save);
    EXPECT_EQ(save.settings.flags, 0x2);
    EXPECT_EQ(save.settings.dialogTitle, QStringLiteral("Uložit kolekci tapet"));
    EXPECT_EQ(save.settings.filter, QStringLiteral("tapetor kolekce|*.tkl"));
    EXPECT_EQ(save.settings.fileName, QStringLiteral("nová_kolekce.tkl"));
    EXPECT_TRUE(save.settings.initDir.isEmpty());
    EXPECT_TRUE(save.settings.cancelError);

    EXPECT_EQ(bytesOf(target), crlfLines({path("A.png"), path("b.png"), path("c.png")}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("Kolekce tapet byla vpořádku uložena.\rNyní zadejte v položce >Nastavit automatické "
                             "změny tapet< zbývající nastavení aplikace."));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Informace"));
    EXPECT_EQ(messages.shown[0].style, 64);

    EXPECT_FALSE(visible("editBox"));
    EXPECT_FALSE(window->collection().edited());
    EXPECT_EQ(text("Label31"), chosen) << "saving does not choose the saved file";
    EXPECT_EQ(entries(), (QStringList{path("volba-a.png"), path("volba-b.png")}));
    EXPECT_EQ(window->collection().path(), chosen);
    EXPECT_EQ(text("pocetObr"), QStringLiteral("počet tapet: 2"));
    EXPECT_EQ(currentRow(), 0);
    EXPECT_EQ(preview().width(), 11);
    EXPECT_EQ(dueText(), expectedNextChange()) << "the countdown starts afresh";

    // Reopened, the saved file shows the same order.
    dialogs.results.push_back(target);
    click("Label5");
    EXPECT_EQ(entries(), (QStringList{path("A.png"), path("b.png"), path("c.png")}));
}

TEST_F(Editor, OpeningShowsTheFileSortedWithItsFirstPictureAndSavingItClosesSilently)
{
    start();
    const QString wide = makePicture(QStringLiteral("b.png"), Qt::blue, 64, 48);
    const QString narrow = makePicture(QStringLiteral("a.png"), Qt::red, 12, 10);
    const QString other = makePicture(QStringLiteral("C.png"), Qt::green);
    const QString file = writeCollection(QStringLiteral("stará.tkl"), {other, wide, narrow});

    dialogs.results.push_back(file);
    click("Image2");
    const CommonDialog& open = dialogs.calls.back().settings;
    EXPECT_EQ(open.dialogTitle, QStringLiteral("Otevřít kolekci"));
    EXPECT_EQ(open.filter, QStringLiteral("tapetor kolekce (*.tkl)|*.tkl|"));
    EXPECT_EQ(open.flags, 0);
    EXPECT_TRUE(open.cancelError);

    EXPECT_TRUE(visible("editBox"));
    EXPECT_EQ(text("nadpis"), QStringLiteral("upravit kolekci"));
    EXPECT_EQ(window->collection().path(), file);
    EXPECT_EQ(entries(), (QStringList{narrow, wide, other}));
    EXPECT_EQ(text("pocetObr"), QStringLiteral("počet tapet: 3"));
    EXPECT_EQ(markedRows(), QList<int>{0});
    EXPECT_EQ(text("Label27"), narrow);
    EXPECT_TRUE(text("tapetainfo").startsWith(QLatin1String("12x10, "))) << text("tapetainfo").toStdString();

    markRow(2, true);
    markRow(0, false);
    click("Label23");
    saveAs(file);
    const CommonDialog& save = dialogs.calls.back().settings;
    EXPECT_EQ(save.initDir, file);
    EXPECT_EQ(save.fileName, file);
    EXPECT_EQ(bytesOf(file), crlfLines({narrow, wide}));
    EXPECT_EQ(messages.shown.size(), 1u) << "only the removal's question; an opened file is saved silently";
    EXPECT_FALSE(visible("editBox"));
    EXPECT_TRUE(entries().isEmpty()) << "no collection is chosen";
}

TEST_F(Editor, ACancelledSaveDialogLeavesEverythingAsItWas)
{
    start();
    click("Label4");
    const QString picture = makePicture(QStringLiteral("x.png"), Qt::cyan);
    add(picture);
    dialogs.results.push_back(std::nullopt);
    click("Label25");
    EXPECT_TRUE(visible("editBox"));
    EXPECT_EQ(entries(), QStringList{picture});
    EXPECT_TRUE(window->collection().edited());
    EXPECT_EQ(window->collection().path(), QStringLiteral("000"));
    EXPECT_EQ(text("nadpis"), NewTitle);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Editor, AFailingSaveTellsTheUserAndKeepsTheWork)
{
    start();
    click("Label4");
    const QString picture = makePicture(QStringLiteral("x.png"), Qt::cyan);
    add(picture);
    // A file stands where the folder should be, so nothing can be written there.
    const QString target = picture + QStringLiteral("/kolekce.tkl");
    saveAs(target);

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Chyba"));
    EXPECT_EQ(messages.shown[0].style, 16);
    EXPECT_TRUE(messages.shown[0].text.contains(target));
    EXPECT_EQ(messages.shown[0].text.count(QLatin1Char('\r')), 1);
    EXPECT_TRUE(visible("editBox"));
    EXPECT_EQ(entries(), QStringList{picture});
    EXPECT_TRUE(window->collection().edited());
    EXPECT_EQ(window->collection().path(), QStringLiteral("000"));

    // The work can still be saved elsewhere.
    saveAs(path(QStringLiteral("jinde.tkl")));
    EXPECT_EQ(bytesOf(path(QStringLiteral("jinde.tkl"))), crlfLines({picture}));
    EXPECT_FALSE(visible("editBox"));
}

TEST_F(Editor, ClosingWithUnsavedChangesAsksAndYesGivesTheChosenCollectionBack)
{
    const QString chosen = chooseCollection();
    start();
    click("Label4");
    add(makePicture(QStringLiteral("x.png"), Qt::cyan));

    messages.answers = {MsgAnswer::No};
    click("Label26");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, UnsavedText);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Kolekce není uložena"));
    EXPECT_EQ(messages.shown[0].style, 36);
    EXPECT_TRUE(visible("editBox"));
    EXPECT_EQ(entries(), QStringList{path("x.png")});
    EXPECT_TRUE(window->collection().edited());

    clock.advanceMs(45'000);
    messages.answers = {MsgAnswer::Yes};
    click("Label26");
    EXPECT_FALSE(visible("editBox"));
    EXPECT_FALSE(window->collection().edited());
    EXPECT_EQ(entries(), (QStringList{path("volba-a.png"), path("volba-b.png")}));
    EXPECT_EQ(window->collection().path(), chosen);
    EXPECT_EQ(currentRow(), 0);
    EXPECT_EQ(preview().width(), 11);
    EXPECT_EQ(dueText(), expectedNextChange());

    // Without changes nothing is asked.
    click("Label4");
    click("Label26");
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(entries().size(), 2);
}

TEST_F(Editor, WithNoCollectionChosenClosingLeavesTheListEmpty)
{
    start();
    click("Label4");
    add(makePicture(QStringLiteral("x.png"), Qt::cyan));
    messages.answers = {MsgAnswer::Yes};
    click("Label26");
    EXPECT_FALSE(visible("editBox"));
    EXPECT_TRUE(entries().isEmpty());
    EXPECT_EQ(window->collection().path(), QStringLiteral("000"));
    EXPECT_FALSE(window->collection().edited());
}

TEST_F(Editor, ACancelledOpenDialogLeavesTheListEmptyAndTheEditorClosed)
{
    chooseCollection();
    start();
    ASSERT_EQ(entries().size(), 2);
    // The add dialog's settings do not reach the open dialog.
    click("Label4");
    add(makePicture(QStringLiteral("x.png"), Qt::cyan));
    messages.answers = {MsgAnswer::Yes};
    click("Label26");

    dialogs.results.push_back(std::nullopt);
    click("Label5");
    EXPECT_TRUE(entries().isEmpty());
    EXPECT_FALSE(visible("editBox"));
    const CommonDialog& open = dialogs.calls.back().settings;
    EXPECT_EQ(open.flags, 0);
    EXPECT_TRUE(open.fileName.isEmpty());
    EXPECT_EQ(open.maxFileSize, CommonDialog{}.maxFileSize);
}

TEST_F(Editor, AFileAnotherProgramWroteSinceOpeningIsOverwrittenOnlyWhenTheUserSaysSo)
{
    start();
    const QStringList made = pictures({"a.png", "b.png"});
    const QString file = writeCollection(QStringLiteral("sdílená.tkl"), {made.at(0)});
    dialogs.results.push_back(file);
    click("Label5");
    add(made.at(1));
    const QByteArray theirs = crlfLines({made.at(0), QStringLiteral("/jejich.png")});
    {
        QFile other(file);
        ASSERT_TRUE(other.open(QIODevice::WriteOnly));
        other.write(theirs);
    }

    messages.answers = {MsgAnswer::No};
    saveAs(file);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("Soubor %1 od otevření kolekce změnil jiný program.\r"
                             "Chcete ho přesto přepsat kolekcí, kterou upravujete?")
                  .arg(file));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Uložit kolekci tapet"));
    EXPECT_EQ(messages.shown[0].style, 52);
    EXPECT_EQ(bytesOf(file), theirs);
    EXPECT_TRUE(visible("editBox")) << "the work stays, to be saved elsewhere";

    messages.answers = {MsgAnswer::Yes};
    saveAs(file);
    EXPECT_EQ(bytesOf(file), crlfLines(made));
    EXPECT_FALSE(visible("editBox"));
}

TEST_F(Editor, OpeningAMissingFileGivesAnEmptyEditorForThatPath)
{
    chooseCollection();
    start();
    const QString missing = path(QStringLiteral("není.tkl"));
    dialogs.results.push_back(missing);
    click("Label5");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Kolekce tapet nebyla nalezena."));
    EXPECT_TRUE(visible("editBox"));
    EXPECT_EQ(window->collection().path(), missing);
    EXPECT_EQ(text("pocetObr"), QStringLiteral("počet tapet: 0"));
    EXPECT_TRUE(preview().isNull()) << "no picture of the collection that was in the list before";
    EXPECT_EQ(text("Label27"), QString());
}

TEST_F(Editor, TheExitCommandAsksAboutUnsavedChanges)
{
    start();
    click("Label4");
    add(makePicture(QStringLiteral("x.png"), Qt::cyan));
    messages.answers = {MsgAnswer::No};
    window->mnuc1_end_Click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, UnsavedText);
    EXPECT_TRUE(process.exitCodes.empty());
    EXPECT_TRUE(visible("editBox"));
    EXPECT_FALSE(instance.left);

    messages.answers = {MsgAnswer::Yes};
    window->mnuc1_end_Click();
    EXPECT_EQ(process.exitCodes, std::vector<int>{0});
    EXPECT_TRUE(instance.left) << "a later start would be taken over by a copy that is ending";
}

TEST_F(Editor, AnAddedEntryGoesAfterTheEntriesItEqualsWithCaseIgnored)
{
    start();
    click("Label4");
    add(path("A.png"));
    add(path("a.png"));
    add(path("b.png"));
    add(path("B.png"));
    add(path("A.png"));
    EXPECT_EQ(entries(), (QStringList{path("A.png"), path("a.png"), path("A.png"), path("b.png"), path("B.png")}));
}

TEST_F(Editor, NamesThatAreNoValidTextShowTheirPicturesAndAreSavedByteForByte)
{
    start();
    const FolderRemovedByBytes cleanup(temp.path());
    // An old Latin-2 name ("1 část.png") on a UTF-8 system, and a Czech name in UTF-8.
    const QByteArray latin2 = QFile::encodeName(temp.path()) + "/1 \xe8\xe1st.png";
#if defined(Q_OS_UNIX)
    const QString czech = makePicture(QStringLiteral("2 ěščřžýáíé.png"), Qt::green, 22);
    const QString first = path(QStringLiteral("1 \uFFFD\uFFFDst.png"));
#else
    // Windows names files by text, and a collection names them in the ANSI code page:
    // the Latin-2 bytes are letters of whichever page it is, and the Czech name must be
    // one the page holds.
    const QString czech = makePicture(QFile::decodeName("2 \xe1\xe9\xed.png"), Qt::green, 22);
    const QString first = QFile::decodeName(latin2);
#endif
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && QImage(11, 7, QImage::Format_RGB32).save(&buffer, "PNG"));
    // Qt names files only by text, which cannot give these bytes.
    std::FILE* written = std::fopen(latin2.constData(), "wb");
    ASSERT_NE(written, nullptr);
    ASSERT_EQ(std::fwrite(png.constData(), 1, size_t(png.size()), written), size_t(png.size()));
    ASSERT_EQ(std::fclose(written), 0);
    const QString file = path(QStringLiteral("názvy.tkl"));
    const QByteArray lines = latin2 + "\r\n" + QFile::encodeName(czech) + "\r\n";
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(lines) == lines.size());
    out.close();

    dialogs.results.push_back(file);
    click("Label5");
    // On a UTF-8 system the stray bytes read as replacement characters in the list.
    EXPECT_EQ(entries(), (QStringList{first, czech}));
    EXPECT_EQ(preview().size(), QSize(11, 7));
    setCurrentRow(1);
    EXPECT_EQ(preview().size(), QSize(22, 30));
    setCurrentRow(0);
    EXPECT_EQ(preview().size(), QSize(11, 7));

    saveAs(file);
    EXPECT_FALSE(visible("editBox"));
    EXPECT_EQ(bytesOf(file), lines);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Editor, NamesWithALineEndAreRefusedAndTheRestOfTheChoiceIsAdded)
{
    const QString refused = QStringLiteral("Názvy některých vybraných souborů obsahují konec řádku, a proto je "
                                           "nelze uložit do kolekce tapet.\rTyto soubory nebyly přidány.");
    struct Case {
        const char* name;
        QStringList chosen;
        QStringList added;
        bool told;
    };
    const Case cases[] = {
        {"a line feed", {temp.path(), "a.png", "b\nc.png", "d.png"}, {path("a.png"), path("d.png")}, true},
        {"a carriage return", {temp.path(), "e\r.png", "f.png"}, {path("f.png")}, true},
        {"both, in the folder", {temp.path() + "/x\r\ny", "g.png"}, {}, true},
        {"one file", {path("h\n.png")}, {}, true},
        {"none", {temp.path(), "i.png"}, {path("i.png")}, false},
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        click("Label4");
        messages.shown.clear();
        add(nulJoined(c.chosen));
        EXPECT_EQ(entries(), c.added);
        EXPECT_EQ(text("pocetObr"), QStringLiteral("počet tapet: %1").arg(c.added.size()));
        if (!c.told) {
            EXPECT_TRUE(messages.shown.empty());
            continue;
        }
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, refused);
        EXPECT_EQ(messages.shown[0].title, QStringLiteral("Chyba"));
        EXPECT_EQ(messages.shown[0].style, MsgStyle::OkCritical);
    }
}
