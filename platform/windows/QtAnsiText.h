#pragma once

#include <QString>

#include <optional>
#include <string>

// QString to and from the ANSI code page, for the adapters that hand texts to the
// plain Windows code. It goes through the same conversion the Wine tests exercise,
// rather than QString::toLocal8Bit, which would put '?' for a character the code page
// lacks instead of reporting it.
namespace win {

std::optional<std::string> toAnsi(const QString& text);
QString fromAnsi(const std::string& text);

} // namespace win
