#pragma once

#include "platform/ShellOpener.h"

class QtShellOpener final : public ShellOpener {
public:
    bool open(const QString& target) override;
};
