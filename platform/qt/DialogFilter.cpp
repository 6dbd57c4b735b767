#include "platform/qt/DialogFilter.h"

#include <QFileInfo>

QStringList qtNameFilters(const QString& windowsFilter)
{
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i);
        QString patterns = parts.at(i + 1);
        if (description.isEmpty() && patterns.isEmpty())
            continue;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the last parenthesised group of the text.
        filters << description + QLatin1String(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

QString joinChosenFiles(const QStringList& absolutePaths, QChar separator)
{
    if (absolutePaths.isEmpty())
        return {};
    if (absolutePaths.size() == 1)
        return absolutePaths.first();
    QString folder = QFileInfo(absolutePaths.first()).absolutePath();
    if (separator != QLatin1Char('/'))
        folder.replace(QLatin1Char('/'), separator);
    QString joined = folder;
    for (const QString& path : absolutePaths) {
        joined += QChar(0);
        joined += QFileInfo(path).fileName();
    }
    return joined;
}
