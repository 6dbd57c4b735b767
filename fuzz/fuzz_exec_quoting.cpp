// The autostart entry's Exec= line: any program path, quoted and then read back the
// way a session's launcher reads it, is that same path again; and reading any text
// as an Exec= value never crashes.

#include "FuzzCheck.h"
#include "platform/linux/DesktopEntryExec.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    // Arbitrary text, as a hand-edited entry could hold: whatever arguments it gives,
    // quoting them again gives the same arguments.
    const QStringList parsed = parseExecLine(text);
    QStringList requoted;
    for (const QString& argument : parsed)
        requoted << quoteExecArgument(argument);
    FUZZ_CHECK(parseExecLine(requoted.join(QLatin1Char(' '))) == parsed, visible(text));

    // A file name can hold any character but NUL.
    QString path = text;
    path.remove(QChar(0));
    if (path.isEmpty())
        return 0;

    const QString alone = execLine(path, QString());
    // The value sits on one line of the desktop file.
    FUZZ_CHECK(!alone.contains(QLatin1Char('\n')) && !alone.contains(QLatin1Char('\r')), visible(alone));
    FUZZ_CHECK(parseExecLine(alone) == QStringList{path}, visible(path) + QStringLiteral(" -> ") + visible(alone));

    const QString withSwitch = execLine(path, QStringLiteral("/startos"));
    FUZZ_CHECK((parseExecLine(withSwitch) == QStringList{path, QStringLiteral("/startos")}),
               visible(path) + QStringLiteral(" -> ") + visible(withSwitch));
    return 0;
}
