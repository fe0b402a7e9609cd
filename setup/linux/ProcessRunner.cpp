#include "ProcessRunner.h"

#include <QProcess>
#include <QStringList>

namespace quillory::setup::linux_host {

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments, int limitMs) {
    QStringList args;
    for (const std::string& argument : arguments) {
        args << QString::fromStdString(argument);
    }
    auto* process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (limitMs >= 0) {
        // Nobody reads a program that may outlive the wait: a pipe left full
        // would stall it, a closed one would kill it.
        process->setStandardOutputFile(QProcess::nullDevice());
    }
    process->start(QString::fromStdString(program), args);

    ProcessResult result;
    result.started = process->waitForStarted(-1);
    if (!result.started) {
        delete process;
        return result;
    }
    result.finished = process->waitForFinished(limitMs < 0 ? -1 : limitMs);
    if (!result.finished) {
        // A limit only bounds how long the launcher waits: the installer must go
        // on, and deleting the QProcess would kill it. It is left to run alone.
        return result;
    }
    result.exitCode = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
    result.output = process->readAllStandardOutput().toStdString();
    delete process;
    return result;
}

}  // namespace quillory::setup::linux_host
