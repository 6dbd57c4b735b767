#pragma once

#include <QString>

// Opens an address or document with the user's default program.
class ShellOpener {
public:
    virtual ~ShellOpener() = default;
    virtual bool open(const QString& target) = 0;
};
