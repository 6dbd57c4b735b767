#pragma once

#include <QString>
#include <QStringList>

// Turns the common dialog's "description|pattern|..." filter into Qt's name filters.
// Each description gets Qt's patterns appended in parentheses, which the dialog hides
// again (HideNameFilterDetails), so the user reads the descriptions as written:
// "tapetor kolekce (*.tkl)|*.tkl|" -> {"tapetor kolekce (*.tkl) (*.tkl)"}, shown as
// "tapetor kolekce (*.tkl)".
QStringList qtNameFilters(const QString& windowsFilter);

// The extension a save dialog adds to a typed name without one: that of the first
// pattern when it is "*.ext", otherwise none.
QString defaultSuffix(const QString& windowsFilter);

// Joins chosen files the way the common dialog returns them: one file as its full
// path; several as their common folder followed by each name relative to it,
// separated by NUL. Paths come in with "/" and go out with `separator`.
QString joinChosenFiles(const QStringList& absolutePaths, QChar separator);
