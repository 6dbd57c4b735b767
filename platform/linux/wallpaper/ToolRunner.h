#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Runs an external program to completion.
class ToolRunner {
public:
    virtual ~ToolRunner() = default;
    // True when the program ran and exited with code 0. A missing program, a crash or
    // a program still running after the time bound is false. output, when given,
    // receives what the program wrote on its standard output.
    virtual bool run(const QString& program, const QStringList& arguments, QByteArray* output = nullptr) = 0;
};
