#pragma once

#include <QString>

// The entry that starts the program when the user logs on.
class LogonEntry {
public:
    virtual ~LogonEntry() = default;

    // Whether the place that holds the entry can be opened for writing at all.
    // Nothing can be removed from it either when it cannot.
    virtual bool canOpen() const = 0;
    // programPath is the absolute path of the executable; switchText is empty
    // (the interval form) or "/startos" (the after-logon form).
    virtual bool write(const QString& programPath, const QString& switchText) = 0;
    // Removing an entry that does not exist is not a failure; an entry still there
    // afterwards is.
    virtual bool remove() = 0;
    // Where the entry is kept, as the user would look for it when it must be
    // removed by hand.
    virtual QString location() const = 0;
};
