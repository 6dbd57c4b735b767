#include "app/SingleStart.h"

#include "platform/MessageBoxes.h"
#include "platform/SingleInstance.h"

namespace {
std::optional<int> claimOrHandOver(SingleInstance& instance, MessageBoxes& messages,
                                   SingleInstance::Command command = SingleInstance::Command::Show)
{
    switch (instance.claim(command)) {
    case SingleInstance::Claim::HandedOver:
        return 0;
    case SingleInstance::Claim::NoAnswer:
        // A second copy would write the settings the running one holds; ending without
        // a word would look like a start that never happened.
        messages.show(nullptr,
                      QStringLiteral("Aplikace tapetor je už spuštěna, ale neodpovídá.\r"
                                     "Zkuste ji spustit znovu za chvíli."),
                      QStringLiteral("tapetor"), MsgStyle::OkWarning);
        return 1;
    case SingleInstance::Claim::First:
    case SingleInstance::Claim::Unavailable:
        break;
    }
    return std::nullopt;
}
} // namespace

std::optional<int> handOverToRunningCopy(SingleInstance& instance, MessageBoxes& messages, const QString& argumentText)
{
    // These two end at once: they run beside a copy in the tray, and a plain start
    // made meanwhile is not handed to them.
    if (argumentText == QLatin1String("/startos") || argumentText == QLatin1String("/uninstall"))
        return std::nullopt;
    SingleInstance::Command command = SingleInstance::Command::Show;
    if (argumentText == QLatin1String("--next"))
        command = SingleInstance::Command::Next;
    else if (argumentText == QLatin1String("--previous"))
        command = SingleInstance::Command::Previous;
    const std::optional<int> status = claimOrHandOver(instance, messages, command);
    // Run by itself, a command ends at once: a start made meanwhile waits for the place
    // rather than handing over to a copy that will not stay.
    if (!status && command != SingleInstance::Command::Show)
        instance.leave();
    return status;
}

std::optional<int> stayAfterLogon(SingleInstance& instance, MessageBoxes& messages, const QString& argumentText)
{
    if (argumentText != QLatin1String("/startos"))
        return std::nullopt;
    return claimOrHandOver(instance, messages);
}
