#pragma once

#include <QString>

// Where the program lives and where it may keep its files.
class ProgramLocation {
public:
    virtual ~ProgramLocation() = default;
    // Absolute path of the running executable.
    virtual QString programPath() const = 0;
    // Folder of the executable, without a trailing separator (except at a root).
    virtual QString programDir() const = 0;
    // Per-user data folder for files the program folder cannot take.
    virtual QString userDataDir() const = 0;
    // Installed read-only data folder (error picture); may be empty.
    virtual QString installedDataDir() const = 0;
    virtual QChar separator() const = 0;
};
