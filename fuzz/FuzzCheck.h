#pragma once

// A property that must hold for every input; a broken one ends the run as a crash,
// so libFuzzer keeps the input that broke it.

#include <QString>

#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void fuzzFailure(const char* what, const QString& detail, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: property broken: %s\n  %s\n", file, line, what, detail.toUtf8().constData());
    std::abort();
}

#define FUZZ_CHECK(condition, detail)                                                                                  \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            fuzzFailure(#condition, (detail), __FILE__, __LINE__);                                                     \
    } while (false)

// Shows a text with its unprintable characters as \u escapes, for the failure report.
inline QString visible(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f)
            out += c;
        else
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return out;
}
