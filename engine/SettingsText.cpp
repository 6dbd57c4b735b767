#include "engine/SettingsText.h"

#include <cmath>

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

// QChar::isDigit() also takes the digits of other scripts, which toDouble() does not read.
bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Reads a plain decimal number with an optional sign, fraction and exponent from the
// start of text. Hand-written because QString::toDouble wants the whole text to be a
// number, while a stored interval may go on with words ("15 minut").
std::optional<double> leadingNumber(const QString& text, bool skipInnerBlanks)
{
    QString digits;
    qsizetype i = 0;
    auto skip = [&] {
        while (i < text.size() && isBlank(text.at(i)))
            ++i;
    };
    skip();
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
        digits += text.at(i++);
    bool seenDigit = false;
    bool seenPoint = false;
    bool seenExponent = false;
    while (i < text.size()) {
        if (skipInnerBlanks)
            skip();
        if (i >= text.size())
            break;
        const QChar c = text.at(i);
        if (isAsciiDigit(c)) {
            digits += c;
            seenDigit = true;
        } else if ((c == QLatin1Char('.') || c == QLatin1Char(',')) && !seenPoint && !seenExponent) {
            // A Czech user types a decimal comma; it means the same as the point.
            digits += QLatin1Char('.');
            seenPoint = true;
        } else if ((c == QLatin1Char('e') || c == QLatin1Char('E')) && seenDigit && !seenExponent) {
            // Only an exponent that has digits belongs to the number; blanks inside it
            // are ignored like everywhere else.
            const auto blanksFrom = [&](qsizetype k) {
                while (skipInnerBlanks && k < text.size() && isBlank(text.at(k)))
                    ++k;
                return k;
            };
            QString exponent = QStringLiteral("e");
            qsizetype j = blanksFrom(i + 1);
            if (j < text.size() && (text.at(j) == QLatin1Char('+') || text.at(j) == QLatin1Char('-')))
                exponent += text.at(j++);
            j = blanksFrom(j);
            if (j >= text.size() || !isAsciiDigit(text.at(j)))
                break;
            digits += exponent;
            i = j;
            seenExponent = true;
            continue;
        } else {
            break;
        }
        ++i;
    }
    if (!seenDigit)
        return std::nullopt;
    bool ok = false;
    const double value = digits.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

std::optional<bool> checkStateFromText(const QString& text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    const double value = trimmed.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (rounded == 0.0)
        return false;
    if (rounded == 1.0)
        return true;
    return std::nullopt;
}

std::optional<bool> optionStateFromText(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double value = trimmed.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value != 0.0;
}

double intervalValue(const QString& text)
{
    return leadingNumber(text, true).value_or(0.0);
}
