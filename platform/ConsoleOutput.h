#pragma once

#include <QString>

// Prints to the terminal the program was started from, as a command-line answer.
void writeToConsole(const QString& standardOutput, const QString& standardError);
