#include "platform/qt/QtProcessControl.h"

#include <QCoreApplication>
#include <QProcess>

void QtProcessControl::exit(int code)
{
    // quit() would first ask the window to close, and the window refuses every close.
    QCoreApplication::exit(code);
}

bool QtProcessControl::startDetached(const QString& program)
{
    return QProcess::startDetached(program, {});
}
