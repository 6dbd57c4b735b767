// The Plasma script that sets the wallpaper: whatever the picture's name, the quoted
// text inside the script reads back, by JavaScript's own rules, as exactly the text
// that was quoted, and nothing after it is taken as code.

#include "FuzzCheck.h"
#include "platform/linux/wallpaper/BackendCommands.h"
#include "platform/linux/wallpaper/TextQuoting.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

namespace {

// ECMAScript's line terminators end a script line and may not stand inside a string
// literal unescaped (Qt's JavaScript engine, which Plasma uses, follows that).
bool isLineTerminator(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c.unicode() == 0x2028 || c.unicode() == 0x2029;
}

int hexValue(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// Reads the single-quoted string literal that starts at `at`, as a JavaScript
// parser does; `at` ends up just past the closing quote. Nothing when the text there
// is no complete literal.
std::optional<QString> readLiteral(const QString& script, qsizetype& at)
{
    if (at >= script.size() || script.at(at) != QLatin1Char('\''))
        return std::nullopt;
    QString value;
    for (++at; at < script.size(); ++at) {
        const QChar c = script.at(at);
        if (c == QLatin1Char('\'')) {
            ++at;
            return value;
        }
        if (isLineTerminator(c))
            return std::nullopt;
        if (c != QLatin1Char('\\')) {
            value += c;
            continue;
        }
        if (++at >= script.size())
            return std::nullopt;
        const QChar e = script.at(at);
        switch (e.unicode()) {
        case 'n':
            value += QLatin1Char('\n');
            break;
        case 'r':
            value += QLatin1Char('\r');
            break;
        case 't':
            value += QLatin1Char('\t');
            break;
        case 'b':
            value += QLatin1Char('\b');
            break;
        case 'f':
            value += QLatin1Char('\f');
            break;
        case 'v':
            value += QLatin1Char('\v');
            break;
        case '0':
            value += QChar(0);
            break;
        case 'x':
        case 'u': {
            const int digits = e == QLatin1Char('x') ? 2 : 4;
            if (at + digits >= script.size())
                return std::nullopt;
            int code = 0;
            for (int i = 1; i <= digits; ++i) {
                const int h = hexValue(script.at(at + i));
                if (h < 0)
                    return std::nullopt;
                code = code * 16 + h;
            }
            value += QChar(char16_t(code));
            at += digits;
            break;
        }
        default:
            // A backslash before a line terminator continues the line; the quoting
            // never writes one, so reading it back as a character would be wrong.
            if (isLineTerminator(e))
                return std::nullopt;
            value += e;
        }
    }
    return std::nullopt;
}

void checkLiteral(const QString& text)
{
    const QString literal = javaScriptString(text);
    qsizetype at = 0;
    const auto back = readLiteral(literal, at);
    FUZZ_CHECK(back.has_value(), visible(literal));
    FUZZ_CHECK(at == literal.size(), QStringLiteral("the literal ends early: ") + visible(literal));
    FUZZ_CHECK(*back == text, visible(text) + QStringLiteral(" -> ") + visible(*back));
}

void checkScript(const QString& picturePath, int style)
{
    const QString uri = fileUri(picturePath);
    const QString script = kdeWallpaperScript(uri, style);
    const QString lead = QStringLiteral("    d.writeConfig('Image', ");
    const qsizetype leadAt = script.indexOf(lead);
    FUZZ_CHECK(leadAt >= 0, visible(script));
    qsizetype at = leadAt + lead.size();
    const auto back = readLiteral(script, at);
    FUZZ_CHECK(back.has_value() && *back == uri, visible(script));
    FUZZ_CHECK(script.mid(at) == QStringLiteral(");\n}\n"), visible(script));
    // The desktop finds the very file that was written: the address, its escapes
    // undone, holds the file name's bytes (Linux reads any number of leading slashes
    // as one). Undone by hand rather than by QUrl, which keeps some escapes (U+FFFF)
    // that a desktop's own reader undoes.
    QString expected = picturePath;
    while (expected.startsWith(QLatin1String("//")))
        expected.remove(0, 1);
    const QString scheme = QStringLiteral("file://");
    FUZZ_CHECK(back->startsWith(scheme), visible(*back));
    FUZZ_CHECK(QByteArray::fromPercentEncoding(back->mid(scheme.size()).toLatin1()) == expected.toUtf8(),
               visible(picturePath) + QStringLiteral(" -> ") + visible(*back));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto* chars = reinterpret_cast<const char*>(data);
    const QString utf8 = QString::fromUtf8(chars, qsizetype(size));
    QString units(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(units.data(), data, (size / 2) * 2);

    checkLiteral(utf8);
    checkLiteral(units);

    // The picture handed to Plasma is always an absolute path of a file we wrote.
    QString path = utf8;
    path.remove(QChar(0));
    checkScript(QLatin1Char('/') + path, size > 0 ? data[0] % 4 : 0);
    return 0;
}
