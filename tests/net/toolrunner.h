#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

// Runs a command-line tool with the given input; its standard output, or a null array when it fails.
inline QByteArray runTool(const QString &program, const QStringList &arguments, const QByteArray &input = QByteArray())
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return QByteArray();
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QByteArray();
    const QByteArray output = process.readAllStandardOutput();
    return output.isNull() ? QByteArray("") : output;
}
