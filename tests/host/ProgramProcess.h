// A program in a process of its own, driven through tests/host/ProgramInstance.cpp, as the
// desktop starts several at once or as a crash ends one.
#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class CProgram {
public:
    ~CProgram() {
        if (m_process.state() != QProcess::NotRunning)
            Kill();
    }
    bool Start(const QString& appFolder, const QStringList& arguments = {},
               const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
        m_process.setProcessEnvironment(environment);
        m_process.start(QStringLiteral(HOST_INSTANCE), QStringList{appFolder} + arguments);
        return m_process.waitForStarted(30000) && ReadLine() == "started";
    }
    QString Ask(const QString& command) {
        m_process.write(command.toUtf8() + '\n');
        return ReadLine();
    }
    bool Exit() {
        return Ask(QStringLiteral("exit")) == "ok" && m_process.waitForFinished(30000) &&
               m_process.exitCode() == 0;
    }
    // Ends the process at once, as a crash would: nothing is cleaned up or written.
    void Kill() {
        m_process.kill();
        m_process.waitForFinished(30000);
    }
    QString Errors() { return QString::fromUtf8(m_process.readAllStandardError()); }

private:
    QString ReadLine() {
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(60000))
                return QStringLiteral("<no answer: %1>").arg(Errors());
        }
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }

    QProcess m_process;
};
