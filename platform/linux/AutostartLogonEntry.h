#pragma once

#include "platform/LogonEntry.h"

// $XDG_CONFIG_HOME/autostart/tapetor.desktop, which every XDG desktop starts at logon.
class AutostartLogonEntry final : public LogonEntry {
public:
    // configHome empty means the user's XDG config folder.
    explicit AutostartLogonEntry(QString configHome = {});

    bool canOpen() const override;
    bool write(const QString& programPath, const QString& switchText) override;
    bool remove() override;
    QString location() const override;

    QString filePath() const;

private:
    QString m_folder;
};
