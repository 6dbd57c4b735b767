#include "engine/CollectionFile.h"
#include "engine/CollectionOrder.h"
#include "FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
    ASSERT_TRUE(writeCollectionFile(path, entries, [&breaths] { ++breaths; }));
    EXPECT_EQ(readAll(path), encodeCollection(entries));
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
