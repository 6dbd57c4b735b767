#pragma once

#include <QString>
#include <optional>

class SingleInstance;

// A plain start while a copy runs hands over to that copy; the status this start then
// ends with, or nothing when it runs on as the one copy.
std::optional<int> handOverToRunningCopy(SingleInstance& instance, const QString& argumentText);
