#include "platform/windows/AnsiText.h"

#include <windows.h>

namespace win {

namespace {

int checkedLength(std::size_t size)
{
    // Texts here are registry values and paths; nothing near 2 GB is ever converted.
    return static_cast<int>(size);
}

} // namespace

std::optional<std::string> wideToAnsi(std::wstring_view text)
{
    if (text.empty())
        return std::string();

    const int length = checkedLength(text.size());
    // WC_NO_BEST_FIT_CHARS stops "ř" from quietly becoming "r" in a code page without it;
    // a UTF-8 ANSI code page rejects both the flag and the default-character query.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;

    const int size = WideCharToMultiByte(CP_ACP, flags, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::nullopt;
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, flags, text.data(), length, result.data(), size, nullptr, usedDefaultOut);
    if (usedDefault)
        return std::nullopt;
    return result;
}

std::wstring ansiToWide(std::string_view text)
{
    if (text.empty())
        return std::wstring();

    const int length = checkedLength(text.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (size <= 0)
        return std::wstring();
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, result.data(), size);
    return result;
}

} // namespace win
