#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What the command line itself answers, without a window, the desktop or the options:
// the help, the version, and an unknown "--" switch. Any other text starts the program
// as it always has, --next and --previous included.
struct CommandLineAnswer {
    int status = 0;
    QString standardOutput;
    QString standardError;
};

std::optional<CommandLineAnswer> answerCommandLine(const QStringList& arguments, const QString& version);
