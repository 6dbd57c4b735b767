#include "platform/windows/RunKeyEntry.h"

#include <windows.h>

namespace win::runkey {

namespace {

// Opens the Run key for writing; closes it when it goes out of scope.
class RunKey {
public:
    RunKey()
    {
        if (RegOpenKeyExA(HKEY_CURRENT_USER, runKeyPath, 0, KEY_WRITE, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~RunKey()
    {
        if (key_)
            RegCloseKey(key_);
    }
    RunKey(const RunKey&) = delete;
    RunKey& operator=(const RunKey&) = delete;

    HKEY handle() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }

private:
    HKEY key_ = nullptr;
};

} // namespace

std::string commandLine(const std::string& programPath, const std::string& switchText)
{
    std::string command = "\"" + programPath + "\"";
    if (!switchText.empty())
        command += " " + switchText;
    return command;
}

bool canOpen()
{
    return static_cast<bool>(RunKey());
}

bool write(const std::string& programPath, const std::string& switchText)
{
    const RunKey key;
    if (!key)
        return false;
    const std::string data = commandLine(programPath, switchText);
    return RegSetValueExA(key.handle(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>(data.size() + 1))
        == ERROR_SUCCESS;
}

bool remove()
{
    const RunKey key;
    if (!key)
        return false;
    const LSTATUS status = RegDeleteValueA(key.handle(), valueName);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

} // namespace win::runkey
