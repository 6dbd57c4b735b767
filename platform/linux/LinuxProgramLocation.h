#pragma once

#include "platform/ProgramLocation.h"

class LinuxProgramLocation final : public ProgramLocation {
public:
    QString programPath() const override;
    QString programDir() const override;
    QString userDataDir() const override;
    QString installedDataDir() const override;
    QChar separator() const override { return QLatin1Char('/'); }
};
