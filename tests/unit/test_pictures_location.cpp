#include "engine/BitmapLocation.h"
#include "platform/ProgramLocation.h"
#include "test_pictures_support.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace testpics;

namespace {

class StubLocation final : public ProgramLocation {
public:
    QString programPath() const override { return programFolder + QStringLiteral("/tapetor"); }
    QString programDir() const override { return programFolder; }
    QString userDataDir() const override { return dataFolder; }
    QString installedDataDir() const override { return installedFolder; }
    QChar separator() const override { return sep; }

    QString programFolder;
    QString dataFolder;
    QString installedFolder;
    QChar sep = QLatin1Char('/');
};

class Locations : public testing::Test {
protected:
    void SetUp() override
    {
        openToEveryone(dir.path());
        location.programFolder = dir.filePath(QStringLiteral("bin"));
        location.dataFolder = dir.filePath(QStringLiteral("home/.local/share/tapetor"));
        location.installedFolder = dir.filePath(QStringLiteral("share/tapetor"));
        QDir().mkpath(location.programFolder);
        QDir().mkpath(location.installedFolder);
    }
    QTemporaryDir dir;
    StubLocation location;
};

} // namespace

TEST(JoinPath, NeverDoublesTheSeparatorOfARootFolder)
{
    const QChar slash = QLatin1Char('/');
    const QChar backslash = QLatin1Char('\\');
    EXPECT_EQ(joinPath(QStringLiteral("/"), QStringLiteral("tapetor.bmp"), slash), QStringLiteral("/tapetor.bmp"));
    EXPECT_EQ(joinPath(QStringLiteral("/opt/tapetor"), QStringLiteral("tapetor.bmp"), slash),
              QStringLiteral("/opt/tapetor/tapetor.bmp"));
    EXPECT_EQ(joinPath(QStringLiteral("C:\\"), QStringLiteral("tapetor.bmp"), backslash),
              QStringLiteral("C:\\tapetor.bmp"));
    EXPECT_EQ(joinPath(QStringLiteral("C:\\Program Files\\tapetor"), QStringLiteral("prv_err.jpg"), backslash),
              QStringLiteral("C:\\Program Files\\tapetor\\prv_err.jpg"));
}

TEST_F(Locations, BitmapGoesBesideTheProgramWhenItsFolderIsWritable)
{
    EXPECT_EQ(wallpaperBitmapPath(location), location.programFolder + QStringLiteral("/tapetor.bmp"));
    EXPECT_FALSE(QFileInfo::exists(location.dataFolder));
}

TEST_F(Locations, BitmapGoesToTheUserDataFolderWhenTheProgramFolderIsNotWritable)
{
    QString path;
    {
        const UnwritableFolder readOnly(location.programFolder);
        ASSERT_TRUE(readOnly.ok());
        if (!readOnly.refusesNewFiles())
            GTEST_SKIP() << kFolderStaysWritable;
        path = wallpaperBitmapPath(location);
    }
    EXPECT_EQ(path, location.dataFolder + QStringLiteral("/tapetor.bmp"));
    EXPECT_TRUE(QFileInfo(location.dataFolder).isDir()); // created on the way
}

TEST_F(Locations, BitmapGoesToTheUserDataFolderWhenTheProgramFolderIsGone)
{
    location.programFolder = dir.filePath(QStringLiteral("removed"));
    EXPECT_EQ(wallpaperBitmapPath(location), location.dataFolder + QStringLiteral("/tapetor.bmp"));
}

TEST_F(Locations, ErrorPictureIsLookedUpBesideTheProgramThenInTheDataFolderThenBuiltIn)
{
    const QString beside = location.programFolder + QStringLiteral("/prv_err.jpg");
    const QString installed = location.installedFolder + QStringLiteral("/prv_err.jpg");
    const QString builtIn = QStringLiteral(":/assets/prv_err.jpg");

    EXPECT_EQ(errorPicturePath(location), builtIn);
    ASSERT_TRUE(writeAll(installed, "jpeg"));
    EXPECT_EQ(errorPicturePath(location), installed);
    ASSERT_TRUE(writeAll(beside, "jpeg"));
    EXPECT_EQ(errorPicturePath(location), beside);

    location.installedFolder.clear();
    QFile::remove(beside);
    EXPECT_EQ(errorPicturePath(location), builtIn);
}
