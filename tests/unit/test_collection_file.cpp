#include "core/CollectionModel.h"
#include "engine/CollectionFile.h"
#include "engine/CollectionOrder.h"
#include "engine/EntryFile.h"
#include "engine/PictureIO.h"
#include "platform/qt/ThreadedBackgroundWork.h"
#include "FileSizeLimit.h"
#include "FolderRemovedByBytes.h"
#include "test_pictures_support.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <gtest/gtest.h>

#if defined(Q_OS_UNIX)
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>
#endif

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void putFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList sorted(const CollectionOrder& order, const QStringList& entries)
{
    QStringList result;
    for (const qsizetype index : order.sortedOrder(entries))
        result << entries.at(index);
    return result;
}

#if defined(Q_OS_UNIX)
ino_t inode(const QString& path)
{
    struct stat status { };
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}
#else
// stat() gives no inode numbers on Windows; the file's index on its volume is one.
quint64 inode(const QString& path)
{
    const HANDLE file = CreateFileW(QDir::toNativeSeparators(path).toStdWString().c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    return known ? quint64(info.nFileIndexHigh) << 32 | info.nFileIndexLow : 0;
}
#endif

// Creates a file by the bytes of its name, which Qt, naming files by text, cannot do.
bool writeByName(const QByteArray& name, const QByteArray& bytes)
{
    std::FILE* file = std::fopen(name.constData(), "wb");
    if (!file)
        return false;
    const bool whole = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file) == size_t(bytes.size());
    return std::fclose(file) == 0 && whole;
}

#if defined(Q_OS_UNIX)
// Runs `work` on a thread whose file access is checked as an ordinary user's is, even
// when the tests run as root: its effective set lacks the capabilities that let root
// write anywhere. Capabilities belong to a thread, so the rest of the program keeps them.
template <class Work> void asOrdinaryUser(Work work)
{
    std::thread thread([&work] {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
        if (syscall(SYS_capget, &header, data) == 0) {
            for (const unsigned cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
                data[cap / 32].effective &= ~(1u << (cap % 32));
            syscall(SYS_capset, &header, data);
        }
        work();
    });
    thread.join();
}
#endif

QStringList texts(const CollectionEntries& entries)
{
    QStringList out;
    for (const CollectionEntry& entry : entries)
        out << entry.text;
    return out;
}

QStringList parsed(QByteArrayView bytes)
{
    return texts(parseCollection(bytes).entries);
}

CollectionEntries entriesOf(const QStringList& paths)
{
    CollectionEntries entries;
    for (const QString& path : paths)
        entries << entryFromPath(path);
    return entries;
}

} // namespace

TEST(CollectionFile, LinesEndAtCrCrLfOrLf)
{
    EXPECT_EQ(parsed("a\r\nb\rc\nd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(parsed("a\r\n"), QStringList{"a"});
    EXPECT_EQ(parsed("last without end"), QStringList{"last without end"});
    EXPECT_EQ(parsed(""), QStringList{});
}

TEST(CollectionFile, EmptyLinesAreSkippedButBlanksAreEntries)
{
    EXPECT_EQ(parsed("\r\n\r\na\r\n\r\n\r\nb\r\n\r\n"), (QStringList{"a", "b"}));
    EXPECT_EQ(parsed("  \r\n x y \r\n"), (QStringList{"  ", " x y "}));
    // A CR directly followed by a CR LF is two line ends, with an empty line between.
    EXPECT_EQ(parsed("a\r\r\nb"), (QStringList{"a", "b"}));
}

TEST(CollectionFile, EncodingEndsEveryEntryWithCrLf)
{
    EXPECT_EQ(encodeCollection(entriesOf({QStringLiteral("/a.png"), QStringLiteral("/b c.jpg")})),
              QByteArray("/a.png\r\n/b c.jpg\r\n"));
    EXPECT_EQ(encodeCollection({}), QByteArray());
    // No byte-order mark, the locale's 8-bit text.
    EXPECT_EQ(encodeCollection(entriesOf({QStringLiteral("/žluťoučký.png")})),
              QStringLiteral("/žluťoučký.png").toLocal8Bit() + "\r\n");
}

TEST(CollectionFile, SaveThenLoadGivesTheSameEntries)
{
    // A collection holds 8-bit names, on Windows in the ANSI code page.
    if (QString::fromLocal8Bit(QStringLiteral("č").toLocal8Bit()) != QStringLiteral("č"))
        GTEST_SKIP() << "the 8-bit code page holds no Czech letters; run under a Czech locale";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kolekce.tkl"));
    const CollectionEntries entries
        = entriesOf({QStringLiteral("/obrázky/č.png"), QStringLiteral("relativní.jpg"), QStringLiteral(" /x ")});
    putFileBytes(path, "old\r\n");
    const auto old = inode(path);
    ASSERT_TRUE(writeCollectionFile(path, entries));
    EXPECT_EQ(fileBytes(path), encodeCollection(entries));
    EXPECT_NE(inode(path), old) << "a folder that takes new files gets a whole new file, never a rewrite";
    CollectionReading back;
    ASSERT_TRUE(readCollectionFile(path, kMaxCollectionEntries, back));
    EXPECT_EQ(back.entries, entries);

    ASSERT_TRUE(writeCollectionFile(path, {}));
    EXPECT_EQ(QFileInfo(path).size(), 0);
}

TEST(CollectionFile, AFailedSaveLeavesThePreviousFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kolekce.tkl"));
#if !defined(Q_OS_UNIX)
    GTEST_SKIP() << "Windows has no limit on the size of a process's files to fill the disk with";
#else
    putFileBytes(path, "old\r\n");
    {
        const FileSizeLimit full(64);
        EXPECT_FALSE(
            writeCollectionFile(path,
                                CollectionEntries(50, entryFromPath(QStringLiteral("/a/long/enough/entry.png")))));
    }
    EXPECT_EQ(fileBytes(path), QByteArray("old\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("kolekce.tkl")});
#endif
}

TEST(CollectionFile, AWritableCollectionInAReadOnlyFolderIsRewrittenInPlace)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("sdílená"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/kolekce.tkl");
    const QString locked = folder + QStringLiteral("/zamčená.tkl");
    putFileBytes(path, "/a/longer/previous/entry.png\r\n");
    putFileBytes(locked, "old\r\n");
    const CollectionEntries entries = entriesOf({QStringLiteral("/nová.png"), QStringLiteral("/b.png")});
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
#if defined(Q_OS_UNIX)
    const auto open = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup;
    ASSERT_TRUE(QFile::setPermissions(folder, open));
    asOrdinaryUser([&] {
        QFile probe(folder + QStringLiteral("/probe"));
        ASSERT_FALSE(probe.open(QIODevice::WriteOnly)) << "the folder must refuse new files for this case";
        EXPECT_TRUE(writeCollectionFile(path, entries));
        EXPECT_FALSE(writeCollectionFile(locked, entries)) << "a file that may not be written is a failed save";
    });
    QFile::setPermissions(folder, open | QFile::WriteOwner);
#else
    {
        const testpics::UnwritableFolder shared(folder);
        ASSERT_TRUE(shared.ok());
        if (!shared.refusesNewFiles())
            GTEST_SKIP() << testpics::kFolderStaysWritable;
        EXPECT_TRUE(writeCollectionFile(path, entries));
        EXPECT_FALSE(writeCollectionFile(locked, entries)) << "a file that may not be written is a failed save";
    }
#endif
    EXPECT_EQ(fileBytes(path), encodeCollection(entries)) << "rewritten whole, the longer old text cut off";
    EXPECT_EQ(fileBytes(locked), QByteArray("old\r\n"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("kolekce.tkl"), QStringLiteral("zamčená.tkl")}));
}

TEST(CollectionFile, HiddenFilesAndFoldersCountAsMissing)
{
    QTemporaryDir dir;
    const QString visible = dir.filePath(QStringLiteral("a.tkl"));
    const QString hidden = dir.filePath(QStringLiteral(".a.tkl"));
    putFileBytes(visible, "x\r\n");
    putFileBytes(hidden, "x\r\n");
    EXPECT_TRUE(collectionFileExists(visible));
    EXPECT_FALSE(collectionFileExists(hidden));
    EXPECT_FALSE(collectionFileExists(dir.path()));
    EXPECT_FALSE(collectionFileExists(dir.filePath(QStringLiteral("none.tkl"))));
    CollectionReading reading;
    EXPECT_FALSE(readCollectionFile(dir.filePath(QStringLiteral("none.tkl")), kMaxCollectionEntries, reading));
}

TEST(CollectionFile, LinesLongerThanAPathAreNoEntries)
{
    const QByteArray path(kMaxEntryBytes, 'p');
    const CollectionReading read = parseCollection("/a\r\n" + path + "p\r\n" + path + "\r\n/b");
    EXPECT_EQ(texts(read.entries), (QStringList{"/a", QString::fromLatin1(path), "/b"}));
    EXPECT_TRUE(read.longLinesSkipped);
    EXPECT_FALSE(read.notACollection);
    EXPECT_FALSE(parseCollection("/a\r\n" + path).longLinesSkipped);
}

TEST(CollectionFile, ReadingStopsWhereTheFileCannotBeACollection)
{
    // A run of 64 KiB without a line end: what comes after it is not read.
    const CollectionReading endless = parseCollection("/a\r\n" + QByteArray(64 * 1024 + 1, 'x') + "\r\n/b\r\n");
    EXPECT_EQ(texts(endless.entries), QStringList{"/a"});
    EXPECT_TRUE(endless.notACollection);
    const CollectionReading longButEnded
        = parseCollection("/a\r\n" + QByteArray(qsizetype(64) * 1024, 'x') + "\r\n/b\r\n");
    EXPECT_EQ(texts(longButEnded.entries), (QStringList{"/a", "/b"}));
    EXPECT_FALSE(longButEnded.notACollection);

    // Entries adding up to more than 8 MiB: more than a full list of real paths. The
    // file is only too large, not damaged.
    QByteArray huge;
    const QByteArray line = QByteArray(4000, 'h') + "\r\n";
    for (int i = 0; i < 2200; ++i)
        huge += line;
    const CollectionReading tooMuch = parseCollection(huge);
    EXPECT_TRUE(tooMuch.tooLarge);
    EXPECT_FALSE(tooMuch.notACollection);
    EXPECT_EQ(tooMuch.entries.size(), 8 * 1024 * 1024 / 4000);
    EXPECT_FALSE(endless.tooLarge);
    QByteArray full;
    for (int i = 0; i < 2048; ++i)
        full += QByteArray(kMaxEntryBytes, 'f') + "\r\n";
    const CollectionReading justFits = parseCollection(full);
    EXPECT_FALSE(justFits.tooLarge);
    EXPECT_EQ(justFits.entries.size(), 2048);
}

TEST(CollectionFile, ReadingStopsAfterTheEntriesWanted)
{
    const CollectionReading read = parseCollection("\r\n/a\r\n\r\n/b\r\n/c\r\n/d", 3);
    EXPECT_EQ(texts(read.entries), (QStringList{"/a", "/b", "/c"}));
    EXPECT_FALSE(read.notACollection);
}

TEST(CollectionFile, AFileReadInPiecesGivesEveryEntryWhole)
{
    // Lines of many lengths, so that entries and CR LF pairs straddle the pieces.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dlouha.tkl"));
    QByteArray bytes;
    for (int i = 0; bytes.size() < qsizetype(300) * 1024; ++i)
        bytes += "/" + QByteArray(i % 997, char('a' + i % 26)) + (i % 3 ? "\r\n" : "\r");
    putFileBytes(path, bytes);
    CollectionReading read;
    ASSERT_TRUE(readCollectionFile(path, kMaxCollectionEntries, read));
    EXPECT_EQ(read.entries, parseCollection(bytes).entries);
    EXPECT_EQ(encodeCollection(read.entries).size(), bytes.size() + bytes.count('\r') - bytes.count('\n'));
}

// An old Latin-2 name on a UTF-8 system and a Czech name in UTF-8: both open their
// picture, and their bytes come back unchanged from a save.
TEST(CollectionFile, EntriesKeepTheirBytesAndOpenTheirFilesByThem)
{
    QTemporaryDir dir;
    const FolderRemovedByBytes cleanup(dir.path());
    const QByteArray folder = QFile::encodeName(dir.path());
    const QByteArray latin2 = folder + "/\xe8\xe1st.png";
    const QByteArray utf8 = folder + "/ěščřžýáíé.png";
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && QImage(3, 2, QImage::Format_RGB32).save(&buffer, "PNG"));
    for (const QByteArray& name : {latin2, utf8})
        ASSERT_TRUE(writeByName(name, png));

    const QByteArray file = latin2 + "\r\n" + utf8 + "\r\n";
    const CollectionReading read = parseCollection(file);
    ASSERT_EQ(read.entries.size(), 2);
    EXPECT_EQ(read.entries[0].bytes, latin2);
#if defined(Q_OS_UNIX)
    EXPECT_EQ(read.entries[0].text, dir.path() + QStringLiteral("/\uFFFD\uFFFDst.png"));
    EXPECT_EQ(read.entries[1].text, dir.path() + QStringLiteral("/ěščřžýáíé.png"));
#else
    // Windows names files by text, and 8-bit names are the ANSI code page's: the entries
    // read as the names the system gave the files, whichever the code page.
    const QString names = QDir(dir.path()).entryList(QDir::Files).join(QLatin1Char('|'));
    EXPECT_TRUE(QFileInfo::exists(read.entries[0].text)) << names.toStdString();
    EXPECT_TRUE(QFileInfo::exists(read.entries[1].text)) << names.toStdString();
#endif
    EXPECT_EQ(encodeCollection(read.entries), file);
    // An entry the editor adds from a path given as text is written as that text.
    EXPECT_EQ(entryFromPath(read.entries[1].text), read.entries[1]);

    for (const CollectionEntry& entry : read.entries) {
        const EntryFile opened(entry.bytes);
        QImage picture;
        EXPECT_TRUE(loadPicture(opened.path(), picture)) << opened.path().toStdString();
        EXPECT_EQ(picture.size(), QSize(3, 2));
    }
    // A name that reads as text back to its bytes is used as it is.
    EXPECT_EQ(EntryFile(utf8).path(), read.entries[1].text);
    // A name cut short by a NUL byte would name another file.
    EXPECT_TRUE(EntryFile(latin2 + QByteArray(1, '\0') + "x").path().isEmpty());
#if defined(Q_OS_UNIX)
    // A missing file and a FIFO (whose reader would wait for a writer) open nothing.
    EXPECT_TRUE(EntryFile(folder + "/\xe8.png").path().isEmpty());
    const QByteArray fifo = folder + "/\xe8.fifo";
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    EXPECT_TRUE(EntryFile(fifo).path().isEmpty());
#else
    // Every 8-bit name is text on Windows, so a missing file is named and fails to load.
    QImage none;
    EXPECT_FALSE(loadPicture(EntryFile(folder + "/\xe8.png").path(), none));
#endif
}

TEST(CollectionModel, RemovesOnlyRowsItHoldsAndTellsItsViewsWhich)
{
    CollectionModel model;
    model.setEntries({entryFromPath(QStringLiteral("/a")), entryFromPath(QStringLiteral("/b")),
                      entryFromPath(QStringLiteral("/c"))});
    QList<std::pair<int, int>> told;
    QObject::connect(&model, &QAbstractItemModel::rowsRemoved, [&told](const QModelIndex&, int first, int last) {
        told.append({first, last});
    });
    const struct {
        int row;
        int count;
        bool removed;
    } cases[] = {{-1, 1, false}, {2, 2, false}, {0, 0, false}, {1, 2, true}};
    for (const auto& c : cases)
        EXPECT_EQ(model.removeRows(c.row, c.count), c.removed) << c.row << "+" << c.count;
    EXPECT_EQ(told, (QList<std::pair<int, int>>{{1, 2}}));
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.index(0).data(), QVariant(QStringLiteral("/a")));
    EXPECT_EQ(model.at(0).bytes, QByteArray("/a"));
}

TEST(CollectionOrder, SortsCaseInsensitivelyInTheLocalesOrder)
{
    const CollectionOrder czech(QLocale(QLocale::Czech, QLocale::Czechia));
    QStringList entries{QStringLiteral("/Ch.png"), QStringLiteral("/d.png"), QStringLiteral("/č.png"),
                        QStringLiteral("/B.png"),  QStringLiteral("/a.png"), QStringLiteral("/h.png"),
                        QStringLiteral("/c.png")};
    entries = sorted(czech, entries);
    // Czech sorts č after c, and ch as one letter after h.
    EXPECT_EQ(entries, (QStringList{"/a.png", "/B.png", "/c.png", "/č.png", "/d.png", "/h.png", "/Ch.png"}));
}

TEST(CollectionOrder, CaseIsIgnoredInTheCLocaleToo)
{
    const CollectionOrder plain(QLocale::c());
    QStringList entries{QStringLiteral("/p/Cerveny.png"), QStringLiteral("/p/bily.png"),
                        QStringLiteral("/p/azurovy.png")};
    entries = sorted(plain, entries);
    EXPECT_EQ(entries, (QStringList{"/p/azurovy.png", "/p/bily.png", "/p/Cerveny.png"}));
    EXPECT_TRUE(plain.lessThan(QStringLiteral("b"), QStringLiteral("C")));
}

TEST(CollectionOrder, EqualEntriesKeepTheirOrderAndInsertAfterEachOther)
{
    const CollectionOrder order{QLocale(QLocale::English)};
    QStringList entries{QStringLiteral("b"), QStringLiteral("A"), QStringLiteral("a"), QStringLiteral("B")};
    entries = sorted(order, entries);
    EXPECT_EQ(entries, (QStringList{"A", "a", "b", "B"}));
    EXPECT_EQ(order.insertPosition(entries, QStringLiteral("a")), 2);
    EXPECT_EQ(order.insertPosition(entries, QStringLiteral("0")), 0);
    EXPECT_EQ(order.insertPosition(entries, QStringLiteral("z")), 4);
}

// Collection jobs end on the window's thread in the order given, and an end whose
// window is gone is dropped rather than run on a dead object.
TEST(CollectionWork, EndsArriveInOrderAndOnlyWhileTheirWindowLives)
{
    ThreadedBackgroundWork beside;
    std::vector<int> ended;
    QObject kept;
    auto gone = std::make_unique<QObject>();
    const auto job = [&](QObject* context, int number) {
        beside.run(
            context, [] {},
            [&ended, number] {
                EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
                ended.push_back(number);
            });
    };
    job(&kept, 1);
    job(gone.get(), 2);
    job(&kept, 3);
    gone.reset();
    beside.finish();
    EXPECT_EQ(ended, (std::vector<int>{1, 3}));
}
