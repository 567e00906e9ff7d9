// The Options dialog of the Edit menu: video quality, presets, output names, what to
// do with an output that exists and at the end of a batch, and what a start restores.
// The caller stores what it returns after OK; choosing a preset acts at once, through
// onChoosePreset, as the user choosing its items in the window's lists would.
#pragma once

#include "jobs/Presets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLoggingCategory>
#include <QRadioButton>

#include <functional>

Q_DECLARE_LOGGING_CATEGORY(lcOptions)

class QFrame;
class QPushButton;

class COptionsDlg : public QDialog
{
    Q_OBJECT
public:
    // current: the window's lists and output folder as they stand (its quality unused).
    COptionsDlg(const ConverterOptions& options, const QString& presetName, const Preset& current,
                QWidget* parent = nullptr);
    ~COptionsDlg() override;

    // The choices as the controls hold them.
    ConverterOptions Options() const;
    // The preset chosen last; empty when none was.
    QString PresetName() const { return m_presetName; }
    // The example file name under the pattern.
    QString ExampleText() const { return m_stcExample.text(); }

    std::function<void(const Preset&)> onChoosePreset;

    // The preset buttons' commands, on the selected preset.
    void OnUsePreset();
    void OnSavePreset();
    void OnRenamePreset();
    void OnDeletePreset();
    void OnImportPreset();
    void OnExportPreset();

private:
    QFrame* CreateQualityGroup();
    QFrame* CreatePresetGroup();
    QFrame* CreateNameGroup();
    QFrame* CreateEndGroup();
    QPushButton* AddButton(const QString& text, void (COptionsDlg::*handler)());
    void ShowOptions(const ConverterOptions& options);
    void ShowQuality(const VideoQuality& quality);
    VideoQuality Quality() const;
    void OnQualityModeChange();
    void OnPatternChange();
    void FillPresets(const QString& selected);
    const Preset* SelectedPreset();
    std::optional<QString> AskPresetName(const QString& name);
    // Shows and logs why a preset command did nothing; false when there was no error.
    bool Refused(const QString& error);

    Preset m_current;
    QString m_presetName;
    QList<Preset> m_presets;

    QButtonGroup m_grpQuality;
    QRadioButton m_radProfile;
    QRadioButton m_radConstant;
    QRadioButton m_radTarget;
    QComboBox m_cboLevel;
    QDoubleSpinBox m_spnMegabytes;
    QListWidget m_lstPresets;
    QCheckBox m_chkIncludeFolder;
    QLineEdit m_edtPattern;
    QLabel m_stcExample;
    QComboBox m_cboIfExists;
    QComboBox m_cboWhenDone;
    QCheckBox m_chkKeepJobList;
    QCheckBox m_chkStartWithLast;
};
