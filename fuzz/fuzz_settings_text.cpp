// The conversions of stored option texts: any text converts without a crash, and the
// interval agrees with an independent reading of "the number at the start of the
// text, '.' as decimal point, blanks ignored".

#include "FuzzCheck.h"
#include "engine/SettingsText.h"

#include <QRegularExpression>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

// Blanks go first, wherever they stand; then the longest decimal number at the start.
double referenceInterval(const QString& text)
{
    QString packed;
    for (const QChar c : text) {
        // A lone surrogate would make the expression below refuse the whole text; it
        // ends a number like any other letter.
        if (!isBlank(c))
            packed += c.isSurrogate() ? QLatin1Char('?') : c;
    }
    static const QRegularExpression number(QStringLiteral("^[+-]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)([eE][+-]?[0-9]+)?"));
    const QRegularExpressionMatch match = number.match(packed);
    if (!match.hasMatch())
        return 0.0;
    bool ok = false;
    const double value = match.captured(0).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

void checkText(const QString& text)
{
    const double interval = intervalValue(text);
    FUZZ_CHECK(std::isfinite(interval), visible(text));
    const double expected = referenceInterval(text);
    FUZZ_CHECK(interval == expected,
               QStringLiteral("%1 gives %2, expected %3").arg(visible(text)).arg(interval).arg(expected));

    // A check box state comes only from a number that is 0 or 1 once rounded.
    if (const auto state = checkStateFromText(text)) {
        bool ok = false;
        const double value = text.trimmed().toDouble(&ok);
        FUZZ_CHECK(ok && std::nearbyint(value) == (*state ? 1.0 : 0.0), visible(text));
    }
    // An option state comes only from True/False or a finite number.
    if (const auto state = optionStateFromText(text)) {
        const QString trimmed = text.trimmed().toLower();
        bool ok = false;
        const double value = trimmed.toDouble(&ok);
        if (trimmed == QLatin1String("true"))
            FUZZ_CHECK(*state, visible(text));
        else if (trimmed == QLatin1String("false"))
            FUZZ_CHECK(!*state, visible(text));
        else
            FUZZ_CHECK(ok && std::isfinite(value) && (value != 0.0) == *state, visible(text));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto* chars = reinterpret_cast<const char*>(data);
    // As the INI file gives it (UTF-8), and as any sequence of UTF-16 units, lone
    // surrogates included.
    checkText(QString::fromUtf8(chars, qsizetype(size)));
    QString units(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(units.data(), data, (size / 2) * 2);
    checkText(units);

    // What the program writes reads back as the same state.
    for (const bool state : {false, true}) {
        FUZZ_CHECK(checkStateFromText(checkStateText(state)) == state, QString());
        FUZZ_CHECK(optionStateFromText(optionStateText(state)) == state, QString());
    }
    // Any number the field may hold reads back as itself.
    if (size >= sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data, sizeof value);
        if (std::isfinite(value)) {
            const QString written = QString::number(value, 'g', 17);
            FUZZ_CHECK(intervalValue(written) == value, written);
            FUZZ_CHECK(intervalValue(QLatin1Char(' ') + written + QStringLiteral(" minut")) == value, written);
        }
    }
    return 0;
}
