#include "about/ClientVersion.h"

namespace {
// Clients older than this cannot take over from the application.
constexpr int FirstCurrentVersion = 52;
} // namespace

ClientState clientState(const QString& path, const QString& version)
{
    if (path.isEmpty())
        return ClientState::NotInstalled;
    bool isNumber = false;
    const int tail = version.right(2).toInt(&isNumber, 10);
    if (!isNumber || tail < FirstCurrentVersion)
        return ClientState::Outdated;
    return ClientState::Current;
}
