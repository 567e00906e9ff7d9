// Stands in for the window that shows the run and the transport: records what they
// show and ask as text ("Tell Save Fail", "Bar 12 of 300"), answers with settings
// and an answer set by the test.
#pragma once

#include "jobs/IBatchRunView.h"
#include "jobs/IPreviewView.h"

#include <QRegularExpression>
#include <QStringList>

class CRecordingRunView : public IBatchRunView, public IPreviewView
{
public:
    StepSettings settings{0, 0, 0, 15, "/out/"};
    bool answer = true; // to every OK/Cancel question
    QStringList shown;

    // What was shown of one kind ("Tell", "Bar", ...), without the kind.
    QStringList Shown(const QString& kind) const
    {
        return shown.filter(QRegularExpression("^" + kind + " ")).replaceInStrings(kind + " ", QString());
    }

    StepSettings CurrentSettings() override { return settings; }
    void ShowProgress(const ProgressSteps& steps) override
    {
        shown << QStringLiteral("Bar %1 of %2").arg(steps.value).arg(steps.maximum);
    }
    void EmptyProgress() override { shown << "Bar emptied"; }
    void ShowRunProgress(const QString& progressText, const QString& barTip) override
    {
        shown << "Run " + progressText + " | " + barTip;
    }
    void ShowNoRun() override { shown << "Run none"; }
    void Notify(const QString& summary) override { shown << "Notify " + summary; }
    void Tell(const QString& text) override { shown << "Tell " + text; }
    bool AskOkCancel(const QString& question, const QString& caption) override
    {
        shown << "Ask " + caption + " " + question;
        return answer;
    }
    int StretchMode() const override { return settings.stretchMode; }
    void ShowPlayLook(bool playing) override { shown << (playing ? "Look pause" : "Look play"); }
};
