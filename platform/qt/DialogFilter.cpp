#include "platform/qt/DialogFilter.h"

#include <QFileInfo>

namespace {

QStringList windowsFilterParts(const QString& windowsFilter)
{
    return windowsFilter.split(QLatin1Char('|'));
}

// "*.*" matches every file on Windows but only names with a dot in Qt.
QString qtPattern(const QString& pattern)
{
    return pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern;
}

bool folderHolds(const QString& folder, const QString& path)
{
    if (folder.endsWith(QLatin1Char('/')))
        return path.startsWith(folder);
    return path.startsWith(folder + QLatin1Char('/'));
}

QString withSeparator(QString path, QChar separator)
{
    if (separator != QLatin1Char('/'))
        path.replace(QLatin1Char('/'), separator);
    return path;
}

} // namespace

QStringList qtNameFilters(const QString& windowsFilter)
{
    const QStringList parts = windowsFilterParts(windowsFilter);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts.at(i);
        const QString& patterns = parts.at(i + 1);
        if (description.isEmpty() && patterns.isEmpty())
            continue;
        QStringList qtPatterns;
        for (const QString& pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            qtPatterns << qtPattern(pattern.trimmed());
        // Qt reads the patterns from the last parenthesised group of the text.
        filters << description + QLatin1String(" (") + qtPatterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

QString defaultSuffix(const QString& windowsFilter)
{
    const QStringList parts = windowsFilterParts(windowsFilter);
    if (parts.size() < 2)
        return {};
    const QString first = parts.at(1).split(QLatin1Char(';')).first().trimmed();
    if (!first.startsWith(QLatin1String("*.")))
        return {};
    QString suffix = first.mid(2);
    if (suffix.isEmpty() || suffix.contains(QLatin1Char('*')) || suffix.contains(QLatin1Char('?')))
        return {};
    return suffix;
}

QString joinChosenFiles(const QStringList& absolutePaths, QChar separator)
{
    if (absolutePaths.isEmpty())
        return {};
    if (absolutePaths.size() == 1)
        return withSeparator(absolutePaths.first(), separator);

    // Names typed with full paths may lie in different folders; their common folder
    // keeps each one whole. Files on different drives share none, and then every
    // name goes out as its full path after an empty folder.
    QString folder = QFileInfo(absolutePaths.first()).absolutePath();
    for (const QString& path : absolutePaths) {
        while (!folder.isEmpty() && !folderHolds(folder, path)) {
            const QString parent = QFileInfo(folder).path();
            folder = parent == folder ? QString() : parent;
        }
    }
    const qsizetype skip = folder.isEmpty() ? 0 : folder.size() + (folder.endsWith(QLatin1Char('/')) ? 0 : 1);
    QString joined = withSeparator(folder, separator);
    for (const QString& path : absolutePaths) {
        joined += QChar(0);
        joined += withSeparator(path.mid(skip), separator);
    }
    return joined;
}
