#pragma once

#include <QString>

// The entry that starts the program when the user logs on.
class LogonEntry {
public:
    virtual ~LogonEntry() = default;

    // Whether the place that holds the entry can be opened for writing at all.
    // The uninstall path stops silently when it cannot.
    virtual bool canOpen() const = 0;
    // programPath is the absolute path of the executable; switchText is empty
    // (the interval form) or "/startos" (the after-logon form).
    virtual bool write(const QString& programPath, const QString& switchText) = 0;
    // Removing an entry that does not exist is not a failure.
    virtual bool remove() = 0;
};
