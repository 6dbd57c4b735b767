#include "app/SingleStart.h"

#include "platform/SingleInstance.h"

namespace {
std::optional<int> claimOrHandOver(SingleInstance& instance)
{
    switch (instance.claim()) {
    case SingleInstance::Claim::HandedOver:
        return 0;
    case SingleInstance::Claim::NoAnswer:
        // A second copy would write the settings the running one holds.
        return 1;
    case SingleInstance::Claim::First:
    case SingleInstance::Claim::Unavailable:
        break;
    }
    return std::nullopt;
}
} // namespace

std::optional<int> handOverToRunningCopy(SingleInstance& instance, const QString& argumentText)
{
    // These two end at once: they run beside a copy in the tray, and a plain start
    // made meanwhile is not handed to them.
    if (argumentText == QLatin1String("/startos") || argumentText == QLatin1String("/uninstall"))
        return std::nullopt;
    return claimOrHandOver(instance);
}

std::optional<int> stayAfterLogon(SingleInstance& instance, const QString& argumentText)
{
    if (argumentText != QLatin1String("/startos"))
        return std::nullopt;
    return claimOrHandOver(instance);
}
