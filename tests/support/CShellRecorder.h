// Records the shell requests, program starts, notifications and power requests of the program instead
// of letting them reach the desktop; the shell's answer is scripted.
#pragma once

#include "platform/CPlatformUi.h"

#include <QStringList>

class CShellRecorder : public CPlatformUi
{
public:
    explicit CShellRecorder(bool shellOpens = true) : m_bShellOpens(shellOpens)
    {
        CPlatformUi::Install(this);
    }
    ~CShellRecorder() override { CPlatformUi::Install(nullptr); }

    QStringList shellRequests;   // "verb|target"
    QStringList programsStarted; // "program|arg1|arg2"
    QStringList notifications;
    QList<CSessionPower::Action> powerRequests;
    QString powerRefusal; // what logind answers

    bool ShellExecute(const QString& verb, const QString& target) override
    {
        shellRequests << verb + QLatin1Char('|') + target;
        return m_bShellOpens;
    }
    bool StartProgram(const QString& program, const QStringList& arguments) override
    {
        programsStarted << (QStringList{program} + arguments).join(QLatin1Char('|'));
        return true;
    }
    void Notify(const QString& summary) override { notifications << summary; }
    void RequestSessionPower(CSessionPower::Action action, const CSessionPower::Done& done) override
    {
        powerRequests << action;
        done(powerRefusal);
    }

private:
    bool m_bShellOpens;
};
