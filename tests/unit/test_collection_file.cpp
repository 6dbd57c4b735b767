#include "engine/CollectionFile.h"
#include "engine/CollectionOrder.h"
#include "FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

ino_t inode(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

// Runs `work` on a thread whose file access is checked as an ordinary user's is, even
// when the tests run as root: its effective set lacks the capabilities that let root
// write anywhere. Capabilities belong to a thread, so the rest of the program keeps them.
template <class Work>
void asOrdinaryUser(Work work)
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

} // namespace

TEST(CollectionFile, LinesEndAtCrCrLfOrLf)
{
    EXPECT_EQ(parseCollection("a\r\nb\rc\nd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(parseCollection("a\r\n"), QStringList{"a"});
    EXPECT_EQ(parseCollection("last without end"), QStringList{"last without end"});
    EXPECT_EQ(parseCollection(""), QStringList{});
}

TEST(CollectionFile, EmptyLinesAreSkippedButBlanksAreEntries)
{
    EXPECT_EQ(parseCollection("\r\n\r\na\r\n\r\n\r\nb\r\n\r\n"), (QStringList{"a", "b"}));
    EXPECT_EQ(parseCollection("  \r\n x y \r\n"), (QStringList{"  ", " x y "}));
    // A CR directly followed by a CR LF is two line ends, with an empty line between.
    EXPECT_EQ(parseCollection("a\r\r\nb"), (QStringList{"a", "b"}));
}

TEST(CollectionFile, EncodingEndsEveryEntryWithCrLf)
{
    EXPECT_EQ(encodeCollection({QStringLiteral("/a.png"), QStringLiteral("/b c.jpg")}), QByteArray("/a.png\r\n/b c.jpg\r\n"));
    EXPECT_EQ(encodeCollection({}), QByteArray());
    // No byte-order mark, the locale's 8-bit text.
    EXPECT_EQ(encodeCollection({QStringLiteral("/žluťoučký.png")}), QStringLiteral("/žluťoučký.png").toLocal8Bit() + "\r\n");
}

TEST(CollectionFile, SaveThenLoadGivesTheSameEntries)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kolekce.tkl"));
    const QStringList entries{QStringLiteral("/obrázky/č.png"), QStringLiteral("relativní.jpg"), QStringLiteral(" /x ")};
    int breaths = 0;
    writeAll(path, "old\r\n");
    const ino_t old = inode(path);
    ASSERT_TRUE(writeCollectionFile(path, entries, [&breaths] { ++breaths; }));
    EXPECT_EQ(readAll(path), encodeCollection(entries));
    EXPECT_NE(inode(path), old) << "a folder that takes new files gets a whole new file, never a rewrite";
    QStringList back;
    ASSERT_TRUE(readCollectionFile(path, back, {}));
    EXPECT_EQ(back, entries);

    ASSERT_TRUE(writeCollectionFile(path, {}, {}));
    EXPECT_EQ(QFileInfo(path).size(), 0);
}

TEST(CollectionFile, AFailedSaveLeavesThePreviousFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kolekce.tkl"));
    writeAll(path, "old\r\n");
    {
        const FileSizeLimit full(64);
        EXPECT_FALSE(writeCollectionFile(path, QStringList(50, QStringLiteral("/a/long/enough/entry.png")), {}));
    }
    EXPECT_EQ(readAll(path), QByteArray("old\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("kolekce.tkl")});
}

TEST(CollectionFile, AWritableCollectionInAReadOnlyFolderIsRewrittenInPlace)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("sdílená"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/kolekce.tkl");
    const QString locked = folder + QStringLiteral("/zamčená.tkl");
    writeAll(path, "/a/longer/previous/entry.png\r\n");
    writeAll(locked, "old\r\n");
    const QStringList entries{QStringLiteral("/nová.png"), QStringLiteral("/b.png")};
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const auto open = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup;
    ASSERT_TRUE(QFile::setPermissions(folder, open));
    asOrdinaryUser([&] {
        QFile probe(folder + QStringLiteral("/probe"));
        ASSERT_FALSE(probe.open(QIODevice::WriteOnly)) << "the folder must refuse new files for this case";
        EXPECT_TRUE(writeCollectionFile(path, entries, {}));
        EXPECT_FALSE(writeCollectionFile(locked, entries, {})) << "a file that may not be written is a failed save";
    });
    QFile::setPermissions(folder, open | QFile::WriteOwner);
    EXPECT_EQ(readAll(path), encodeCollection(entries)) << "rewritten whole, the longer old text cut off";
    EXPECT_EQ(readAll(locked), QByteArray("old\r\n"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("kolekce.tkl"), QStringLiteral("zamčená.tkl")}));
}

TEST(CollectionFile, HiddenFilesAndFoldersCountAsMissing)
{
    QTemporaryDir dir;
    const QString visible = dir.filePath(QStringLiteral("a.tkl"));
    const QString hidden = dir.filePath(QStringLiteral(".a.tkl"));
    writeAll(visible, "x\r\n");
    writeAll(hidden, "x\r\n");
    EXPECT_TRUE(collectionFileExists(visible));
    EXPECT_FALSE(collectionFileExists(hidden));
    EXPECT_FALSE(collectionFileExists(dir.path()));
    EXPECT_FALSE(collectionFileExists(dir.filePath(QStringLiteral("none.tkl"))));
    QStringList entries;
    EXPECT_FALSE(readCollectionFile(dir.filePath(QStringLiteral("none.tkl")), entries, {}));
}

TEST(CollectionOrder, SortsCaseInsensitivelyInTheLocalesOrder)
{
    const CollectionOrder czech(QLocale(QLocale::Czech, QLocale::Czechia));
    QStringList entries{QStringLiteral("/Ch.png"), QStringLiteral("/d.png"), QStringLiteral("/č.png"),
                        QStringLiteral("/B.png"), QStringLiteral("/a.png"), QStringLiteral("/h.png"),
                        QStringLiteral("/c.png")};
    czech.sort(entries);
    // Czech sorts č after c, and ch as one letter after h.
    EXPECT_EQ(entries, (QStringList{"/a.png", "/B.png", "/c.png", "/č.png", "/d.png", "/h.png", "/Ch.png"}));
}

TEST(CollectionOrder, CaseIsIgnoredInTheCLocaleToo)
{
    const CollectionOrder plain(QLocale::c());
    QStringList entries{QStringLiteral("/p/Cerveny.png"), QStringLiteral("/p/bily.png"), QStringLiteral("/p/azurovy.png")};
    plain.sort(entries);
    EXPECT_EQ(entries, (QStringList{"/p/azurovy.png", "/p/bily.png", "/p/Cerveny.png"}));
    EXPECT_TRUE(plain.lessThan(QStringLiteral("b"), QStringLiteral("C")));
}

TEST(CollectionOrder, EqualEntriesKeepTheirOrderAndInsertAfterEachOther)
{
    const CollectionOrder order{QLocale(QLocale::English)};
    QStringList entries{QStringLiteral("b"), QStringLiteral("A"), QStringLiteral("a"), QStringLiteral("B")};
    order.sort(entries);
    EXPECT_EQ(entries, (QStringList{"A", "a", "b", "B"}));
    EXPECT_EQ(order.insertPosition(entries, QStringLiteral("a")), 2);
    EXPECT_EQ(order.insertPosition(entries, QStringLiteral("0")), 0);
    EXPECT_EQ(order.insertPosition(entries, QStringLiteral("z")), 4);
}
