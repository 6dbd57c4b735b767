#include "platform/LogonEntry.h"
#include "platform/windows/QtAnsiText.h"
#include "platform/windows/RunKeyEntry.h"
#include "platform/windows/WindowsServices.h"

#include <QDir>

namespace {

class WindowsLogonEntry final : public LogonEntry {
public:
    bool canOpen() const override { return win::runkey::canOpen(); }

    bool write(const QString& programPath, const QString& switchText) override
    {
        // A path the code page cannot hold would start nothing at the next logon.
        const auto ansiPath = win::toAnsi(QDir::toNativeSeparators(programPath));
        const auto ansiSwitch = win::toAnsi(switchText);
        if (!ansiPath || !ansiSwitch)
            return false;
        return win::runkey::write(*ansiPath, *ansiSwitch);
    }

    bool remove() override { return win::runkey::remove(); }

    QString location() const override
    {
        return QStringLiteral("HKEY_CURRENT_USER\\%1, hodnota %2")
            .arg(QLatin1String(win::runkey::runKeyPath), QLatin1String(win::runkey::valueName));
    }
};

} // namespace

std::unique_ptr<LogonEntry> makeWindowsLogonEntry()
{
    return std::make_unique<WindowsLogonEntry>();
}
