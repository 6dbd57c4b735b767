#include "platform/linux/wallpaper/TextQuoting.h"

#include <QUrl>

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
    return QLatin1Char('\'') + body + QLatin1Char('\'');
}

QString swayQuoted(const QString& text)
{
    return QLatin1Char('"') + escaped(text, QStringLiteral("\\\"$`")) + QLatin1Char('"');
}

QString fileUri(const QString& path)
{
    return QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded());
}
