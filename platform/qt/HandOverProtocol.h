#pragma once

#include "platform/SingleInstance.h"

#include <QByteArray>

#include <array>
#include <optional>

// What a later start and the running copy say over the local socket: one line each.
namespace HandOver {
// The request of each command, in the order of SingleInstance::Command.
inline const std::array<QByteArray, 3> Requests{QByteArrayLiteral("show\n"), QByteArrayLiteral("next\n"),
                                                QByteArrayLiteral("previous\n")};
inline const QByteArray& request(SingleInstance::Command command)
{
    return Requests[static_cast<size_t>(command)];
}
// Nothing for a line that is no request of ours.
inline std::optional<SingleInstance::Command> command(const QByteArray& line)
{
    for (size_t i = 0; i < Requests.size(); ++i) {
        if (line == Requests[i])
            return static_cast<SingleInstance::Command>(i);
    }
    return std::nullopt;
}
inline constexpr qsizetype LongestRequest = 9;
inline const QByteArray Taken = QByteArrayLiteral("ok\n");
inline const QByteArray Refused = QByteArrayLiteral("busy\n");
} // namespace HandOver
