#include "platform/ConsoleOutput.h"

#include <cstdio>

void writeToConsole(const QString& standardOutput, const QString& standardError)
{
    std::fputs(standardOutput.toLocal8Bit().constData(), stdout);
    std::fputs(standardError.toLocal8Bit().constData(), stderr);
}
