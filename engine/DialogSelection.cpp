#include "engine/DialogSelection.h"

QString joinFolderAndName(const QString& folder, const QString& name, QChar separator)
{
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(separator))
        return folder + name;
    return folder + separator + name;
}

QStringList chosenFiles(const QString& returned, QChar separator)
{
    const QStringList parts = returned.split(QChar(0));
    if (parts.size() == 1)
        return returned.isEmpty() ? QStringList() : parts;

    const QString& folder = parts.first();
    QStringList files;
    files.reserve(parts.size() - 1);
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (!parts.at(i).isEmpty())
            files << joinFolderAndName(folder, parts.at(i), separator);
    }
    return files;
}
