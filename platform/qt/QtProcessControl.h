#pragma once

#include "platform/ProcessControl.h"

class QtProcessControl final : public ProcessControl {
public:
    void exit(int code) override;
    bool startDetached(const QString& program) override;
};
