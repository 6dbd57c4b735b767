#pragma once

#include <QString>
#include <QStringList>

// Turns the common dialog's "description|pattern|..." filter into Qt's name filters,
// e.g. "tapetor kolekce (*.tkl)|*.tkl|" -> {"tapetor kolekce (*.tkl) (*.tkl)"}.
QStringList qtNameFilters(const QString& windowsFilter);

// Joins chosen files the way the common dialog returns them: one file as its full
// path; several as the folder followed by each bare name, separated by NUL.
QString joinChosenFiles(const QStringList& absolutePaths, QChar separator);
