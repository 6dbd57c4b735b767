#pragma once

#include <QString>
#include <QStringList>

// Quoting of an Exec= value by the freedesktop Desktop Entry rules: the argument in
// double quotes with " ` $ \ escaped, % doubled, then the value escapes (\\, \n ...).
QString quoteExecArgument(const QString& argument);
QString execLine(const QString& programPath, const QString& switchText);
// The reverse, as a launcher reads the line; used to check what we wrote.
QStringList parseExecLine(const QString& execValue);
