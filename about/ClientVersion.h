#pragma once

#include <QString>

// Where the update client registers itself in the per-user settings store. The client
// writes "path" and "version"; this program only reads them and leaves "returncode".
namespace ClientRegistration {
inline const QString App = QStringLiteral("Orbenta_UpdateService");
inline const QString Options = QStringLiteral("options");
inline const QString Path = QStringLiteral("path");
inline const QString Version = QStringLiteral("version");
inline const QString Script = QStringLiteral("script");
inline const QString ReturnCode = QStringLiteral("returncode");
inline const QString Executable = QStringLiteral("orbupd.exe");
} // namespace ClientRegistration

enum class ClientState { NotInstalled, Outdated, Current };

// The client counts as installed when it left a folder, and as current when the last two
// characters of its version text (all of it when shorter) read as a number of 52 or more.
// A version whose tail is no number (an empty one included) counts as outdated: the page
// then offers a fresh download rather than starting a client it cannot vouch for.
ClientState clientState(const QString& path, const QString& version);
