#include "platform/windows/QtAnsiText.h"

#include "platform/windows/AnsiText.h"

namespace win {

std::optional<std::string> toAnsi(const QString& text)
{
    return wideToAnsi(text.toStdWString());
}

QString fromAnsi(const std::string& text)
{
    return QString::fromStdWString(ansiToWide(text));
}

} // namespace win
