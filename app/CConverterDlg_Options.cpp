// The Options dialog as the window hosts it: the choices it returns reach the batch
// run and the store, a preset sets the window's lists as the user would, and what a
// finished batch asks for (quit, suspend, power off) happens here.
#include "CConverterDlg.h"

#include "dialogs/CCountdownDlg.h"
#include "dialogs/COptionsDlg.h"
#include "platform/CPlatformUi.h"
#include "res/resource.h"

#include <QPointer>

namespace {
constexpr int kPowerCountdownSeconds = 30;
} // namespace

// Without "Start with the last used settings" a start is as it always was: the
// lists at their first items and the profile's quality.
void CConverterDlg::SetupOptions()
{
    ConverterOptions options = ReadOptions();
    if (options.startWithLastSettings) {
        const LastSettings last = ReadLastSettings();
        ApplyPreset(Preset{last.presetName, last.choices, options.quality, QString(), false});
    } else {
        options.quality = VideoQuality{};
    }
    TakeOptions(options);
    for (QComboBox* list : {&m_cboProfile, &m_cboSize, &m_cboStretch, &m_cboBitrate})
        connect(list, &QComboBox::currentIndexChanged, this, &CConverterDlg::StoreLastUsed);
    connect(&m_run, &CBatchRun::batchEnded, this, &CConverterDlg::OnBatchEnded, Qt::QueuedConnection);
}

void CConverterDlg::OnOptions()
{
    COptionsDlg dlg(m_options, m_presetName,
                    Preset{QString(), CurrentChoices(), m_options.quality, m_szOutputFolder}, this);
    dlg.onChoosePreset = [this](const Preset& preset) {
        ApplyPreset(preset);
        ConverterOptions options = m_options;
        options.quality = preset.quality;
        TakeOptions(options);
    };
    if (CPlatformUi::Get().RunModal(dlg) != IDOK)
        return;
    m_presetName = dlg.PresetName();
    TakeOptions(dlg.Options());
    StoreLastUsed();
}

OutputChoices CConverterDlg::CurrentChoices() const
{
    return OutputChoices{m_cboProfile.currentIndex(), m_cboSize.currentIndex(), m_cboStretch.currentIndex(),
                         m_cboBitrate.currentIndex()};
}

// Each list is set as a choice in it would be, so its own handler runs.
void CConverterDlg::ApplyPreset(const Preset& preset)
{
    m_presetName = preset.name;
    const std::pair<QComboBox*, int> lists[] = {{&m_cboProfile, preset.choices.formatIndex},
                                                {&m_cboSize, preset.choices.frameSizeIndex},
                                                {&m_cboStretch, preset.choices.stretchMode},
                                                {&m_cboBitrate, preset.choices.bitrateIndex}};
    for (const auto& [list, index] : lists)
        list->setCurrentIndex(index);
    if (!preset.outputFolder.isEmpty())
        SetOutputFolder(preset.outputFolder);
}

void CConverterDlg::TakeOptions(const ConverterOptions& options)
{
    m_options = options;
    m_run.SetOptions(options);
    if (!StoreOptions(options))
        ReportOptionsFailure(
            QStringLiteral("The options could not be stored in %1; they hold until the program ends.")
                .arg(OptionsFile()));
}

void CConverterDlg::StoreLastUsed()
{
    if (!StoreLastSettings(LastSettings{CurrentChoices(), m_presetName}))
        qCWarning(lcOptions) << "the last used settings could not be stored";
}

// A batch that was stopped, failed or wrote nothing is left as it ended.
void CConverterDlg::OnBatchEnded(BatchEnd end, int converted)
{
    if (end != BatchEnd::Done || converted == 0)
        return;
    switch (m_options.whenDone) {
    case WhenBatchDone::Nothing: return;
    case WhenBatchDone::Quit: OnCloseButton(); return;
    case WhenBatchDone::Suspend:
        AskThenRequestPower(CSessionPower::Action::Suspend, QStringLiteral("Suspend"));
        return;
    case WhenBatchDone::PowerOff:
        AskThenRequestPower(CSessionPower::Action::PowerOff, QStringLiteral("Power off"));
        return;
    }
}

void CConverterDlg::AskThenRequestPower(CSessionPower::Action action, const QString& actionText)
{
    CCountdownDlg box(actionText, kPowerCountdownSeconds, this);
    if (CPlatformUi::Get().RunModal(box) != IDOK)
        return;
    const QPointer<CConverterDlg> window(this);
    CPlatformUi::Get().RequestSessionPower(action, [window](const QString& error) {
        if (window && !error.isEmpty())
            window->ReportOptionsFailure(QStringLiteral("The batch is done, but the system refused: ") +
                                         error);
    });
}

void CConverterDlg::ReportOptionsFailure(const QString& text)
{
    qCWarning(lcOptions).noquote() << text;
    Message(text, kMbOk);
}
