#pragma once

#include <QString>

// Ways of putting a path inside another program's own text syntax, so that no
// character of the path can end the string early or be expanded.

// A GVariant text-format string, as `gsettings set` parses its value: '...'.
QString gvariantString(const QString& text);

// A single-quoted JavaScript string literal for Plasma's scripting console.
QString javaScriptString(const QString& text);

// A double-quoted argument for sway's command parser, which hands the background
// path to wordexp(): quotes, backslashes, "$" and "`" are escaped.
QString swayQuoted(const QString& text);

// file:///... with reserved characters percent-encoded.
QString fileUri(const QString& path);
