#pragma once

#include <QString>
#include <optional>

class MessageBoxes;
class SingleInstance;

// A plain start while a copy runs hands over to that copy; the status this start then
// ends with, or nothing when it runs on as the one copy. A copy that holds the place but
// does not answer is reported in a message box before this start ends.
std::optional<int> handOverToRunningCopy(SingleInstance& instance, MessageBoxes& messages, const QString& argumentText);

// A logon run that could not change keeps its window and stays: from then on it is the
// one copy, or, when a copy already runs, that copy shows its window and this run ends
// with the status returned.
std::optional<int> stayAfterLogon(SingleInstance& instance, MessageBoxes& messages, const QString& argumentText);
