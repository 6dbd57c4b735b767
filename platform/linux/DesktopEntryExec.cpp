#include "platform/linux/DesktopEntryExec.h"

namespace {

QString escapeValue(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else
            out += c;
    }
    return out;
}

QString unescapeValue(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 >= text.size()) {
            out += c;
            continue;
        }
        const QChar next = text.at(++i);
        if (next == QLatin1Char('s'))
            out += QLatin1Char(' ');
        else if (next == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (next == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else if (next == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else if (next == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        else
            out += QLatin1Char('\\') + QString(next);
    }
    return out;
}

bool escapedInQuotes(QChar c)
{
    return c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\');
}

} // namespace

QString quoteExecArgument(const QString& argument)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (escapedInQuotes(c))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    quoted += QLatin1Char('"');
    return escapeValue(quoted);
}

QString execLine(const QString& programPath, const QString& switchText)
{
    QString line = quoteExecArgument(programPath);
    if (!switchText.isEmpty())
        line += QLatin1Char(' ') + switchText;
    return line;
}

QStringList parseExecLine(const QString& execValue)
{
    const QString line = unescapeValue(execValue);
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool inQuotes = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (inQuotes) {
            if (c == QLatin1Char('\\') && i + 1 < line.size() && escapedInQuotes(line.at(i + 1)))
                current += line.at(++i);
            else if (c == QLatin1Char('"'))
                inQuotes = false;
            else
                current += c;
        } else if (c == QLatin1Char('"')) {
            inQuotes = true;
            inArgument = true;
        } else if (c == QLatin1Char(' ')) {
            if (inArgument)
                arguments << current;
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments << current;
    for (QString& argument : arguments)
        argument.replace(QLatin1String("%%"), QLatin1String("%"));
    return arguments;
}
