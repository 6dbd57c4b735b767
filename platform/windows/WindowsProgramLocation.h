#pragma once

#include "platform/ProgramLocation.h"

// The program's folder holds its data beside the executable, as the installer leaves it.
class WindowsProgramLocation final : public ProgramLocation {
public:
    QString programPath() const override;
    QString programDir() const override;
    QString userDataDir() const override;
    QString installedDataDir() const override { return programDir(); }
    QChar separator() const override { return QLatin1Char('\\'); }
};
