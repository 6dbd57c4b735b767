#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// Full paths of the files chosen in the shared file dialog. One chosen file comes back
// as its full path; several come back as the folder followed by each bare name, all
// separated by NUL characters. An empty name (a trailing NUL) stands for no file.
QStringList chosenFiles(const QString& returned, QChar separator);

// The folder and the name with exactly one separator between them, also when the
// folder is a root ("/", "C:\") that already ends with one.
QString joinFolderAndName(const QString& folder, const QString& name, QChar separator);
