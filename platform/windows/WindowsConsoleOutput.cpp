#include "platform/ConsoleOutput.h"

#include <windows.h>

namespace {

void writeTo(DWORD which, const QString& text)
{
    const HANDLE handle = GetStdHandle(which);
    if (text.isEmpty() || handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    DWORD mode = 0;
    // A console takes the text as it is; a pipe or a file gets UTF-8.
    if (GetConsoleMode(handle, &mode)) {
        WriteConsoleW(handle, reinterpret_cast<const wchar_t*>(text.utf16()), DWORD(text.size()), &written, nullptr);
    } else {
        const QByteArray bytes = text.toUtf8();
        WriteFile(handle, bytes.constData(), DWORD(bytes.size()), &written, nullptr);
    }
}

} // namespace

void writeToConsole(const QString& standardOutput, const QString& standardError)
{
    // A window program has no console of its own: it borrows the one it was started
    // from, when there is one.
    AttachConsole(ATTACH_PARENT_PROCESS);
    writeTo(STD_OUTPUT_HANDLE, standardOutput);
    writeTo(STD_ERROR_HANDLE, standardError);
}
