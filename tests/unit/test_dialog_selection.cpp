#include "engine/DialogSelection.h"
#include "platform/qt/DialogFilter.h"

#include <gtest/gtest.h>

namespace {

const QChar Nul(0);
const QChar Slash = QLatin1Char('/');
const QChar Backslash = QLatin1Char('\\');

QString joined(std::initializer_list<const char*> parts)
{
    QStringList all;
    for (const char* part : parts)
        all << QString::fromUtf8(part);
    return all.join(Nul);
}

} // namespace

TEST(DialogSelection, OneFileComesBackAsItsFullPath)
{
    EXPECT_EQ(chosenFiles(QStringLiteral("/home/eva/obrázky/moře.jpg"), Slash),
              QStringList{QStringLiteral("/home/eva/obrázky/moře.jpg")});
    EXPECT_EQ(chosenFiles(QStringLiteral("C:\\a b\\c.png"), Backslash), QStringList{QStringLiteral("C:\\a b\\c.png")});
    EXPECT_TRUE(chosenFiles(QString(), Slash).isEmpty());
}

TEST(DialogSelection, SeveralFilesAreJoinedWithOneSeparatorInDialogOrder)
{
    EXPECT_EQ(chosenFiles(joined({"/home/eva", "z.png", "a.png"}), Slash),
              (QStringList{QStringLiteral("/home/eva/z.png"), QStringLiteral("/home/eva/a.png")}));
    EXPECT_EQ(chosenFiles(joined({"C:\\Obrázky", "1.bmp", "2.gif"}), Backslash),
              (QStringList{QStringLiteral("C:\\Obrázky\\1.bmp"), QStringLiteral("C:\\Obrázky\\2.gif")}));
}

TEST(DialogSelection, RootFoldersGetNoSecondSeparator)
{
    EXPECT_EQ(chosenFiles(joined({"/", "a.png", "b.png"}), Slash),
              (QStringList{QStringLiteral("/a.png"), QStringLiteral("/b.png")}));
    EXPECT_EQ(chosenFiles(joined({"D:\\", "a.png", "b.png"}), Backslash),
              (QStringList{QStringLiteral("D:\\a.png"), QStringLiteral("D:\\b.png")}));
    // Only the platform's own separator counts: a Linux name may end in a backslash.
    EXPECT_EQ(joinFolderAndName(QStringLiteral("/tmp/odd\\"), QStringLiteral("a.png"), Slash),
              QStringLiteral("/tmp/odd\\/a.png"));
}

TEST(DialogSelection, EmptyNamesFromATrailingNulAreNoFiles)
{
    EXPECT_EQ(chosenFiles(joined({"C:\\x", "a.png", "b.png", "", ""}), Backslash),
              (QStringList{QStringLiteral("C:\\x\\a.png"), QStringLiteral("C:\\x\\b.png")}));
    // A folder without names chose nothing.
    EXPECT_TRUE(chosenFiles(joined({"/tmp", ""}), Slash).isEmpty());
}

TEST(DialogSelection, WhatTheQtDialogReturnsSplitsBackIntoTheChosenPaths)
{
    // Qt's dialog gives absolute paths, which on Windows start with a drive.
#if defined(Q_OS_WIN)
    const QString drive = QStringLiteral("C:");
#else
    const QString drive;
#endif
    const QStringList sameFolder{drive + QStringLiteral("/tmp/p/a.png"), drive + QStringLiteral("/tmp/p/b c.png")};
    EXPECT_EQ(chosenFiles(joinChosenFiles(sameFolder, Slash), Slash), sameFolder);

    const QStringList root{drive + QStringLiteral("/a.png"), drive + QStringLiteral("/b.png")};
    EXPECT_EQ(joinChosenFiles(root, Slash), drive + joined({"/", "a.png", "b.png"}));
    EXPECT_EQ(chosenFiles(joinChosenFiles(root, Slash), Slash), root);

    // Full paths typed into the name field may name files of different folders.
    const QStringList spread{drive + QStringLiteral("/tmp/p/a.png"), drive + QStringLiteral("/tmp/q/r/b.png"),
                             drive + QStringLiteral("/tmp/pq.png")};
    EXPECT_EQ(joinChosenFiles(spread, Slash), drive + joined({"/tmp", "p/a.png", "q/r/b.png", "pq.png"}));
    EXPECT_EQ(chosenFiles(joinChosenFiles(spread, Slash), Slash), spread);

    const QStringList drives{QStringLiteral("C:/a.png"), QStringLiteral("D:/b.png")};
    EXPECT_EQ(chosenFiles(joinChosenFiles(drives, Backslash), Backslash),
              (QStringList{QStringLiteral("C:\\a.png"), QStringLiteral("D:\\b.png")}));
    EXPECT_EQ(joinChosenFiles({QStringLiteral("C:/x/a.png")}, Backslash), QStringLiteral("C:\\x\\a.png"));
}

TEST(DialogFilters, DescriptionsKeepTheirTextAndGetQtPatterns)
{
    EXPECT_EQ(qtNameFilters(QStringLiteral("tapetor kolekce (*.tkl)|*.tkl|")),
              QStringList{QStringLiteral("tapetor kolekce (*.tkl) (*.tkl)")});
    EXPECT_EQ(qtNameFilters(
                  QStringLiteral("obrázek (.bmp .gif .jpg .png)|*.bmp;*.gif;*.jpg;*.jpeg;*.png|All (*.*)|*.*")),
              (QStringList{QStringLiteral("obrázek (.bmp .gif .jpg .png) (*.bmp *.gif *.jpg *.jpeg *.png)"),
                           QStringLiteral("All (*.*) (*)")}));
    EXPECT_TRUE(qtNameFilters(QString()).isEmpty());
}

TEST(DialogFilters, SaveDialogsAddTheFirstPatternsExtension)
{
    EXPECT_EQ(defaultSuffix(QStringLiteral("tapetor kolekce|*.tkl")), QStringLiteral("tkl"));
    EXPECT_EQ(defaultSuffix(QStringLiteral("obrázek|*.bmp;*.gif")), QStringLiteral("bmp"));
    EXPECT_TRUE(defaultSuffix(QStringLiteral("All (*.*)|*.*")).isEmpty());
    EXPECT_TRUE(defaultSuffix(QStringLiteral("All|*")).isEmpty());
    EXPECT_TRUE(defaultSuffix(QString()).isEmpty());
}
