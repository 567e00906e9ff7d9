// What a conversion run shows and asks through the window that hosts it: the run
// knows no widgets, the window draws the bar and the texts and puts the prompts.
#pragma once

#include "ProgressSteps.h"

#include <QString>

// The output settings as they stand when a step starts.
struct StepSettings
{
    int formatIndex = 0;    // of the format list
    int frameSizeIndex = 0; // of the frame size list
    int stretchMode = 0;    // 0..3, in the order of the stretch mode list
    int audioCode = 0;      // 15..21, sent for sound-only formats
    QString outputFolder;
};

class IBatchRunView
{
public:
    virtual StepSettings CurrentSettings() = 0;

    // The progress bar in the run's colour at these steps.
    virtual void ShowProgress(const ProgressSteps& steps) = 0;
    // The bar's position back to 0; its range and colour stay.
    virtual void EmptyProgress() = 0;
    // While a file is written: where it is, for the window's title, and the bar's tooltip.
    virtual void ShowRunProgress(const QString& progressText, const QString& barTip) = 0;
    // The title and the tooltip as they are while no batch runs.
    virtual void ShowNoRun() = 0;

    // A desktop notification; never waits.
    virtual void Notify(const QString& summary) = 0;
    // A message box with OK under the program's caption.
    virtual void Tell(const QString& text) = 0;
    // True for OK, false for Cancel.
    virtual bool AskOkCancel(const QString& question, const QString& caption) = 0;

protected:
    ~IBatchRunView() = default;
};
