#pragma once

#include <QFile>
#include <QString>

#include <filesystem>
#include <system_error>

// Removes a folder and everything in it when it goes out of scope, naming the files by
// their bytes. QTemporaryDir names them by text, so a file whose name is no valid text
// (an old 8-bit name on a UTF-8 system) stays, and with it the folder. Declare it after
// the QTemporaryDir it cleans. Windows names every file by text, so there Qt manages.
class FolderRemovedByBytes {
public:
    explicit FolderRemovedByBytes(const QString& folder)
        : m_folder(QFile::encodeName(folder).toStdString())
    {
    }
    ~FolderRemovedByBytes()
    {
#if !defined(Q_OS_WIN)
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
#endif
    }
    FolderRemovedByBytes(const FolderRemovedByBytes&) = delete;
    FolderRemovedByBytes& operator=(const FolderRemovedByBytes&) = delete;

private:
    std::string m_folder;
};
