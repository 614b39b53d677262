#include "ProcessRun.h"

#include <QProcess>

ProcessRun runProcess(const QString &program, const QStringList &arguments, const QString &folder,
                      const QStringList &environment, const QString &outFile, int timeoutMs)
{
    QProcess process;
    if (!outFile.isEmpty())
        process.setStandardOutputFile(outFile);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &entry : environment)
        env.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(env);
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(program, arguments);
    ProcessRun run;
    if (!process.waitForFinished(timeoutMs))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}
