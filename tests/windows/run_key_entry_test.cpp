// The logon start entry in HKCU\Software\Microsoft\Windows\CurrentVersion\Run.

#include "Check.h"
#include "TestEnvironment.h"

#include "platform/windows/AnsiText.h"
#include "platform/windows/RunKeyEntry.h"

namespace runkey = win::runkey;

namespace {

const std::string runKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string programPath = "C:\\Program Files\\tapetor\\tapetor.exe";

std::optional<std::string> runValue()
{
    return registryString(HKEY_CURRENT_USER, runKeyPath, "tapetor");
}

void bothFormsAreWrittenQuoted()
{
    CHECK(runkey::canOpen());

    CHECK(runkey::write(programPath, "/startos"));
    CHECK_EQ(runValue(), std::optional<std::string>("\"C:\\Program Files\\tapetor\\tapetor.exe\" /startos"));

    // Switching to the interval form replaces the value.
    CHECK(runkey::write(programPath, ""));
    const std::string intervalForm = "\"C:\\Program Files\\tapetor\\tapetor.exe\"";
    CHECK_EQ(runValue(), std::optional<std::string>(intervalForm));

    const auto raw = registryRawValue(HKEY_CURRENT_USER, runKeyPath, "tapetor");
    CHECK(raw.has_value());
    if (raw) {
        CHECK_EQ(raw->type, static_cast<DWORD>(REG_SZ));
        // The size counts the terminating NUL. (Wine adds a missing one by itself, so
        // only Windows catches a short size here.)
        CHECK_EQ(raw->size, static_cast<DWORD>(intervalForm.size() + 1));
        CHECK_EQ(raw->bytes, intervalForm + std::string(1, '\0'));
    }
}

void czechPathIsStoredInTheAnsiCodePage()
{
    const auto path = win::wideToAnsi(L"C:\\Program Files\\Tapetář\\tapetor.exe");
    CHECK(path.has_value());
    if (!path)
        return;
    CHECK(runkey::write(*path, "/startos"));
    CHECK_EQ(runValue(), std::optional<std::string>("\"C:\\Program Files\\Tapet\xe1\xf8\\tapetor.exe\" /startos"));
}

void removingLeavesNoValue()
{
    CHECK(runkey::write(programPath, ""));
    CHECK(runkey::remove());
    CHECK_EQ(runValue(), std::optional<std::string>());

    // A value that is already gone is not a failure.
    CHECK(runkey::remove());
    CHECK(runkey::canOpen());
}

void missingRunKeyFailsEveryOperation()
{
    // Take the key away for a moment; RegOpenKeyExA does not create it again.
    HKEY parent = nullptr;
    CHECK_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion", 0, KEY_ALL_ACCESS,
                           &parent),
             ERROR_SUCCESS);
    CHECK_EQ(RegDeleteTreeA(parent, "Run"), ERROR_SUCCESS);

    CHECK(!runkey::canOpen());
    CHECK(!runkey::write(programPath, "/startos"));
    CHECK(!runkey::remove());
    CHECK(!registryKeyExists(HKEY_CURRENT_USER, runKeyPath));

    HKEY run = nullptr;
    CHECK_EQ(RegCreateKeyExA(parent, "Run", 0, nullptr, 0, KEY_READ, nullptr, &run, nullptr), ERROR_SUCCESS);
    RegCloseKey(run);
    RegCloseKey(parent);
    CHECK(runkey::canOpen());
}

} // namespace

int main()
{
    if (!mayChangeThisDesktop("run_key_entry_test"))
        return skipExitCode;
    bothFormsAreWrittenQuoted();
    czechPathIsStoredInTheAnsiCodePage();
    removingLeavesNoValue();
    // Deleting the Run key would take the user's other logon programs with it.
    if (runningUnderWine())
        missingRunKeyFailsEveryOperation();
    return check::result("run_key_entry_test");
}
