#pragma once

// Helpers shared by the picture and wallpaper tests.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QString>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#include <unistd.h>
#else
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <aclapi.h>
// Left over from 16-bit pointers; the tests have a near() of their own.
#undef near
#undef far
#endif

namespace testpics {

inline const QRgb kRed = qRgb(255, 0, 0);
inline const QRgb kLime = qRgb(0, 255, 0);
inline const QRgb kBlue = qRgb(0, 0, 255);
inline const QRgb kYellow = qRgb(255, 255, 0);

// Red, lime, blue and yellow quadrants (top-left, top-right, bottom-left, bottom-right).
inline QImage quadrants(int width, int height, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, QImage::Format_RGB32);
    const int halfW = width / 2;
    const int halfH = height / 2;
    QPainter painter(&image);
    painter.fillRect(0, 0, halfW, halfH, QColor(kRed));
    painter.fillRect(halfW, 0, width - halfW, halfH, QColor(kLime));
    painter.fillRect(0, halfH, halfW, height - halfH, QColor(kBlue));
    painter.fillRect(halfW, halfH, width - halfW, height - halfH, QColor(kYellow));
    painter.end();
    return format == QImage::Format_RGB32 ? image : image.convertToFormat(format);
}

// Noise that compresses badly, like a photo.
inline QImage noise(int width, int height, quint32 seed = 1)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 state = seed;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            line[x] = 0xff000000u | (state >> 8);
        }
    }
    return image;
}

// A progressive JPEG as Qt writes it: ten scans for a colour picture.
inline QByteArray progressiveJpeg(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(image);
    return bytes;
}

// The same JPEG with its last scan repeated until it has `scans` scans. The decoder
// warns about the bogus progression and decodes every repetition all the same.
inline QByteArray jpegWithScans(const QImage& image, int scans)
{
    const QByteArray jpeg = progressiveJpeg(image);
    const qsizetype last = jpeg.lastIndexOf(QByteArray("\xff\xda", 2));
    const qsizetype end = jpeg.size() - 2; // the end-of-picture marker
    QByteArray repeated = jpeg.left(end);
    for (int scan = 10; scan < scans; ++scan)
        repeated += jpeg.mid(last, end - last);
    return repeated + jpeg.mid(end);
}

inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeAll(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// Why a case that needs an unwritable folder cannot run.
inline const char* const kFolderStaysWritable
    = "the system lets new files into a folder whose access list denies them; Wine keeps the list "
      "as Unix mode bits only, which do not bind a root process";

// Whether a new file cannot be made in folder; one that can is removed at once.
inline bool refuses(const QString& folder)
{
    QFile probe(QDir(folder).filePath(QStringLiteral("zkouska")));
    if (!probe.open(QIODevice::WriteOnly))
        return true;
    probe.remove();
    return false;
}

#if defined(Q_OS_UNIX)

// Makes folder unwritable for this process while the scope lasts. Permission bits do
// not bind root, so a root test process takes the identity of "nobody" instead, the
// real ids too (access() checks those); the saved ids let the scope give them back.
class UnwritableFolder {
public:
    explicit UnwritableFolder(const QString& folder)
        : m_folder(folder)
    {
        if (geteuid() == 0) {
            m_wasRoot = true;
            chmod(QFile::encodeName(folder).constData(), 0755);
            m_ok = setresgid(65534, 65534, 0) == 0 && setresuid(65534, 65534, 0) == 0;
        } else {
            m_ok = chmod(QFile::encodeName(folder).constData(), 0555) == 0;
        }
    }
    ~UnwritableFolder()
    {
        if (m_wasRoot) {
            [[maybe_unused]] const int u = setresuid(0, 0, 0);
            [[maybe_unused]] const int g = setresgid(0, 0, 0);
        } else {
            chmod(QFile::encodeName(m_folder).constData(), 0755);
        }
    }
    UnwritableFolder(const UnwritableFolder&) = delete;
    UnwritableFolder& operator=(const UnwritableFolder&) = delete;
    bool ok() const { return m_ok; }
    // Whether the system holds to it: a file can no longer be made in the folder.
    bool refusesNewFiles() const { return refuses(m_folder); }

private:
    QString m_folder;
    bool m_wasRoot = false;
    bool m_ok = false;
};

// A folder "nobody" may pass through and write into, for the unprivileged side of
// UnwritableFolder when the tests run as root.
inline void openToEveryone(const QString& folder)
{
    chmod(QFile::encodeName(folder).constData(), 0777);
}

#else

// Makes folder unwritable while the scope lasts. The read-only attribute of a Windows
// folder keeps no file out of it, so its access list gets an entry that denies
// everyone, administrators too, adding files and folders; the scope puts back the
// list the folder had.
class UnwritableFolder {
public:
    explicit UnwritableFolder(const QString& folder)
        : m_folder(folder)
        , m_name(QDir::toNativeSeparators(folder).toStdWString())
    {
        PACL previous = nullptr;
        if (GetNamedSecurityInfoW(m_name.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                  &previous, nullptr, &m_previousDescriptor)
            != ERROR_SUCCESS)
            return;
        m_previous = previous;
        BYTE everyone[SECURITY_MAX_SID_SIZE];
        DWORD sidSize = sizeof(everyone);
        if (!CreateWellKnownSid(WinWorldSid, nullptr, everyone, &sidSize))
            return;
        EXPLICIT_ACCESS_W deny{};
        deny.grfAccessPermissions = FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY | FILE_DELETE_CHILD;
        deny.grfAccessMode = DENY_ACCESS;
        deny.grfInheritance = NO_INHERITANCE;
        BuildTrusteeWithSidW(&deny.Trustee, everyone);
        PACL denying = nullptr;
        if (SetEntriesInAclW(1, &deny, previous, &denying) != ERROR_SUCCESS)
            return;
        m_ok = setList(denying);
        LocalFree(denying);
    }
    ~UnwritableFolder()
    {
        if (m_ok)
            setList(m_previous);
        LocalFree(m_previousDescriptor);
    }
    UnwritableFolder(const UnwritableFolder&) = delete;
    UnwritableFolder& operator=(const UnwritableFolder&) = delete;
    bool ok() const { return m_ok; }
    // Whether the system holds to it: a file can no longer be made in the folder.
    bool refusesNewFiles() const { return refuses(m_folder); }

private:
    bool setList(PACL list) const
    {
        return SetNamedSecurityInfoW(const_cast<LPWSTR>(m_name.c_str()), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                     nullptr, nullptr, list, nullptr)
            == ERROR_SUCCESS;
    }
    QString m_folder;
    std::wstring m_name;
    PSECURITY_DESCRIPTOR m_previousDescriptor = nullptr;
    PACL m_previous = nullptr;
    bool m_ok = false;
};

// Only a POSIX root process changes its identity for UnwritableFolder; on Windows the
// test process stays who it is, and its own temporary folders are open to it.
inline void openToEveryone(const QString&)
{
}

#endif

} // namespace testpics
