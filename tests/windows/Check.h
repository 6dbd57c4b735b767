#pragma once

// A minimal check helper for the Windows layer's test programs: GoogleTest is not
// packaged for mingw-w64, and these programs only need to report failed comparisons.

#include <cstdio>
#include <optional>
#include <sstream>
#include <string>

namespace check {

inline int& failures()
{
    static int count = 0;
    return count;
}

template <typename T> std::string show(const T& value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}

inline std::string show(const std::string& value)
{
    // Long texts are cut so a failure stays readable.
    const std::string shown = value.size() > 80 ? value.substr(0, 80) + "..." : value;
    return "\"" + shown + "\" (" + std::to_string(value.size()) + " bytes)";
}

inline std::string show(const char* value)
{
    return show(std::string(value));
}

template <typename T> std::string show(const std::optional<T>& value)
{
    return value ? show(*value) : std::string("(absent)");
}

inline void fail(const char* file, int line, const std::string& message)
{
    ++failures();
    std::printf("%s:%d: FAILED %s\n", file, line, message.c_str());
    std::fflush(stdout);
}

template <typename A, typename B>
void equal(const A& actual, const B& expected, const char* actualText, const char* expectedText, const char* file,
           int line)
{
    if (!(actual == expected))
        fail(file, line,
             std::string(actualText) + " == " + expectedText + "\n    actual:   " + show(actual)
                 + "\n    expected: " + show(expected));
}

// The exit code of a test program: non-zero when any check failed.
inline int result(const char* programName)
{
    if (failures() == 0) {
        std::printf("%s: all checks passed\n", programName);
        return 0;
    }
    std::printf("%s: %d check(s) failed\n", programName, failures());
    return 1;
}

} // namespace check

#define CHECK(condition)                                                                                               \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            ::check::fail(__FILE__, __LINE__, #condition);                                                             \
    } while (false)

#define CHECK_EQ(actual, expected) ::check::equal((actual), (expected), #actual, #expected, __FILE__, __LINE__)
