#pragma once

#include <QByteArray>

// What a later start and the running copy say over the local socket: one line each.
namespace HandOver {
inline const QByteArray Request = QByteArrayLiteral("show\n");
inline const QByteArray Taken = QByteArrayLiteral("ok\n");
inline const QByteArray Refused = QByteArrayLiteral("busy\n");
} // namespace HandOver
