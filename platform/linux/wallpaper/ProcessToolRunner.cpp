#include "platform/linux/wallpaper/ProcessToolRunner.h"

#include <QProcess>

bool ProcessToolRunner::run(const QString& program, const QStringList& arguments, QByteArray* output)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (!output)
        process.setStandardOutputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(m_timeoutMs))
        return false;
    if (!process.waitForFinished(m_timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}
