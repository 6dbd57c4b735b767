// Picture loading through the program's own loader, with its pixel cap: any bytes in
// a picture file give either a picture within the cap or a clean refusal with no
// picture, never a crash, a hang or an allocation past the cap.

#include "FuzzCheck.h"
#include "engine/PictureIO.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

// Function statics, made after the application object: they go before Qt's own
// globals at exit, which the application object needs (it is therefore never deleted).
QTemporaryDir& folder()
{
    static QTemporaryDir made(QDir::tempPath() + QStringLiteral("/tapetor-fuzz-XXXXXX"));
    return made;
}

// Kept between inputs: the loader reuses the previous picture's buffer, as the
// preview does from one change to the next.
QImage& kept()
{
    static QImage picture;
    return picture;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The image plugins are found through the application's library paths.
    static QCoreApplication* application = new QCoreApplication(*argc, *argv);
    Q_UNUSED(application);
    folder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // No suffix: the content alone decides the format, as for a picture whose name
    // lies about it.
    const QString path = folder().filePath(QStringLiteral("picture"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }

    QImage& picture = kept();
    if (!loadPicture(path, picture)) {
        FUZZ_CHECK(picture.isNull(),
                   QStringLiteral("a refused picture left %1x%2 behind").arg(picture.width()).arg(picture.height()));
        return 0;
    }
    FUZZ_CHECK(!picture.isNull() && picture.width() > 0 && picture.height() > 0, QString());
    FUZZ_CHECK(qint64(picture.width()) * picture.height() <= kMaxPicturePixels,
               QStringLiteral("%1x%2").arg(picture.width()).arg(picture.height()));
    // The rows are memory the picture owns: AddressSanitizer checks these reads, from
    // the first row to the last.
    volatile uint sum = 0;
    for (int y = 0; y < picture.height(); y += qMax(1, picture.height() / 8))
        sum = sum + picture.constScanLine(y)[0] + picture.constScanLine(picture.height() - 1 - y)[0];
    // Odd-sized inputs start the next one afresh, even-sized ones let it reuse the buffer.
    if (size % 2 == 1)
        picture = QImage();
    return 0;
}
