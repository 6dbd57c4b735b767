#pragma once

#include <QString>
#include <optional>

// Conversions between the stored option texts and the controls' states.

// "0" unchecks, "1" checks; anything that is not one of those numbers changes nothing.
std::optional<bool> checkStateFromText(const QString& text);
// "True"/"False" in any letter case, or a number (non-zero selects); else nothing.
std::optional<bool> optionStateFromText(const QString& text);
// The number at the start of the text, "." or "," as decimal point, blanks ignored;
// 0 when the text does not begin with a number.
double intervalValue(const QString& text);

inline QString checkStateText(bool checked)
{
    return checked ? QStringLiteral("1") : QStringLiteral("0");
}
inline QString optionStateText(bool selected)
{
    return selected ? QStringLiteral("True") : QStringLiteral("False");
}
