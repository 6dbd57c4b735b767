#include "platform/linux/wallpaper/TextQuoting.h"

namespace {

QString escaped(const QString& text, const QString& special)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (special.contains(c))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

} // namespace

QString gvariantString(const QString& text)
{
    return QLatin1Char('\'') + escaped(text, QStringLiteral("\\'")) + QLatin1Char('\'');
}

QString javaScriptString(const QString& text)
{
    QString body = escaped(text, QStringLiteral("\\'"));
    // A line break would end the literal; file names may hold one.
    body.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    body.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    // JavaScript ends a line at these two as well.
    body.replace(QChar(0x2028), QLatin1String("\\u2028"));
    body.replace(QChar(0x2029), QLatin1String("\\u2029"));
    return QLatin1Char('\'') + body + QLatin1Char('\'');
}

QString swayQuoted(const QString& text)
{
    return QLatin1Char('"') + escaped(text, QStringLiteral("\\\"$`")) + QLatin1Char('"');
}

QString fileUri(const QString& path)
{
    // Linux takes any number of leading slashes as the root; an address would take
    // what follows two of them for a host.
    QString local = path;
    while (local.startsWith(QLatin1String("//")))
        local.remove(0, 1);
    // Escaped by hand, leaving unescaped what QUrl leaves in a path: QUrl cuts the
    // noncharacters beyond the first plane (U+1FFFE ...) in half, losing the file.
    return QStringLiteral("file://") + QString::fromLatin1(local.toUtf8().toPercentEncoding("/!$&'()*+,;=:@[]"));
}
