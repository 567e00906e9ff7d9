#include "COptionsDlg.h"

#include "CPresetNameDlg.h"
#include "DialogLook.h"

#include "engine/OutputFormats.h"
#include "jobs/JobOutput.h"
#include "jobs/NamePattern.h"
#include "platform/CPlatformUi.h"
#include "res/ColorRef.h"
#include "res/DialogTemplates.h"
#include "res/SkinBitmaps.h"
#include "res/StringTable.h"
#include "res/TemplateBuilder.h"
#include "res/resource.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

Q_LOGGING_CATEGORY(lcOptions, "vv.options", QtWarningMsg)

namespace {
const QString kPresetFilter = QStringLiteral("Presets (*.json)|*.json||");

QString Css(COLORREF color)
{
    return ToQColor(color).name();
}

// A work surface of the skin with its heading, as the main window's "Video:" and
// "Audio:" stand on theirs; the contents go into the returned card's layout.
QFrame* NewCard(const QString& heading, QWidget* parent)
{
    auto* card = new QFrame(parent);
    card->setObjectName(QStringLiteral("card"));
    card->setStyleSheet(QStringLiteral("QFrame#card { border: 1px solid %1; border-radius: 7px; background: "
                                       "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %2, stop:1 %3); }")
                            .arg(Css(CLR_CARD_EDGE), Css(CLR_CARD_TOP), Css(CLR_CARD_BOTTOM)));
    auto* title = new QLabel(heading, card);
    QFont font(QStringLiteral("Arial Black"));
    font.setPointSize(10);
    title->setFont(font);
    title->setStyleSheet(QStringLiteral("color: %1;").arg(Css(CLR_SECTION_LABEL)));
    auto* rule = new QFrame(card);
    rule->setFixedHeight(1);
    rule->setStyleSheet(QStringLiteral("background: %1;").arg(Css(CLR_CARD_EDGE)));
    auto* headingRow = new QHBoxLayout;
    headingRow->addWidget(title);
    headingRow->addWidget(rule, 1, Qt::AlignVCenter);
    auto* layout = new QVBoxLayout(card);
    layout->setContentsMargins(12, 8, 12, 12);
    layout->setSpacing(8);
    layout->addLayout(headingRow);
    return card;
}

void AddToCard(QFrame* card, QLayout* contents)
{
    auto* layout = qobject_cast<QVBoxLayout*>(card->layout());
    layout->addLayout(contents);
    layout->addStretch();
}

QLabel* NewHint(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Disabled, QPalette::WindowText));
    label->setPalette(palette);
    return label;
}
} // namespace

COptionsDlg::COptionsDlg(const ConverterOptions& options, const QString& presetName, const Preset& current,
                         QWidget* parent)
    : QDialog(parent), m_current(current), m_presetName(presetName)
{
    setWindowTitle(QStringLiteral("Options"));
    setWindowIcon(LoadAppIcon());
    setFont(TemplateFont(AboutDialogTemplate()));
    setObjectName(QStringLiteral("options"));
    setStyleSheet(QStringLiteral("QDialog#options { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
                                 "stop:0 %1, stop:1 %2); }")
                      .arg(Css(CLR_CHROME_TOP), Css(CLR_CHROME_BOTTOM)));
    auto* columns = new QGridLayout(this);
    columns->setContentsMargins(12, 12, 12, 12);
    columns->setHorizontalSpacing(12);
    columns->setVerticalSpacing(10);
    columns->addWidget(CreateQualityGroup(), 0, 0);
    columns->addWidget(CreatePresetGroup(), 1, 0, 2, 1);
    columns->addWidget(CreateNameGroup(), 0, 1);
    columns->addWidget(CreateEndGroup(), 1, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    for (QAbstractButton* button : buttons->buttons()) {
        UseFlatButtonLook(*qobject_cast<QPushButton*>(button));
        button->setIcon(QIcon()); // plain, as the About box's
        button->setMinimumSize(75, 24);
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    columns->addWidget(buttons, 2, 1, Qt::AlignBottom);
    ShowOptions(options);
    FillPresets(presetName);
    setFixedSize(sizeHint());
}

COptionsDlg::~COptionsDlg() = default;

QFrame* COptionsDlg::CreateQualityGroup()
{
    QFrame* group = NewCard(QStringLiteral("Video quality:"), this);
    m_radProfile.setText(QStringLiteral("Profile bit rate (the frame size's own)"));
    m_radConstant.setText(QStringLiteral("Constant quality"));
    m_radTarget.setText(QStringLiteral("Target size"));
    m_cboLevel.addItems(
        {QStringLiteral("Best"), QStringLiteral("High"), QStringLiteral("Good"), QStringLiteral("Small")});
    m_spnMegabytes.setRange(kMinTargetMegabytes, kMaxTargetMegabytes);
    m_spnMegabytes.setDecimals(1);
    m_spnMegabytes.setSuffix(QStringLiteral(" MB"));
    m_spnMegabytes.setLocale(QLocale::c());
    m_spnMegabytes.setAccessibleName(QStringLiteral("Target size in MB"));
    m_cboLevel.setAccessibleName(QStringLiteral("Constant quality level"));
    auto* grid = new QGridLayout;
    AddToCard(group, grid);
    int row = 0;
    for (QRadioButton* mode : {&m_radProfile, &m_radConstant, &m_radTarget}) {
        m_grpQuality.addButton(mode, row);
        grid->addWidget(mode, row++, 0);
    }
    grid->addWidget(&m_cboLevel, 1, 1);
    grid->addWidget(&m_spnMegabytes, 2, 1);
    grid->addWidget(NewHint(QStringLiteral("Sizes per output file; 1 MB is 1,000,000 bytes."), group), 3, 0,
                    1, 2);
    connect(&m_grpQuality, &QButtonGroup::idToggled, this, &COptionsDlg::OnQualityModeChange);
    return group;
}

QFrame* COptionsDlg::CreatePresetGroup()
{
    QFrame* group = NewCard(QStringLiteral("Presets:"), this);
    m_lstPresets.setAccessibleName(QStringLiteral("Presets"));
    m_lstPresets.setMinimumWidth(250);
    connect(&m_lstPresets, &QListWidget::itemDoubleClicked, this, &COptionsDlg::OnUsePreset);
    m_chkIncludeFolder.setText(QStringLiteral("Save the output folder too"));
    auto* commands = new QVBoxLayout;
    commands->setSpacing(4);
    for (const auto& [text, handler] : {std::pair{QStringLiteral("Use"), &COptionsDlg::OnUsePreset},
                                        {QStringLiteral("Save as preset..."), &COptionsDlg::OnSavePreset},
                                        {QStringLiteral("Rename..."), &COptionsDlg::OnRenamePreset},
                                        {QStringLiteral("Delete"), &COptionsDlg::OnDeletePreset},
                                        {QStringLiteral("Import..."), &COptionsDlg::OnImportPreset},
                                        {QStringLiteral("Export..."), &COptionsDlg::OnExportPreset}})
        commands->addWidget(AddButton(text, handler));
    commands->addStretch();
    auto* grid = new QGridLayout;
    AddToCard(group, grid);
    grid->addWidget(&m_lstPresets, 0, 0);
    grid->addLayout(commands, 0, 1);
    grid->addWidget(&m_chkIncludeFolder, 1, 0, 1, 2);
    return group;
}

QFrame* COptionsDlg::CreateNameGroup()
{
    QFrame* group = NewCard(QStringLiteral("File names:"), this);
    m_edtPattern.setAccessibleName(QStringLiteral("File name pattern"));
    connect(&m_edtPattern, &QLineEdit::textChanged, this, &COptionsDlg::OnPatternChange);
    auto* layout = new QVBoxLayout;
    AddToCard(group, layout);
    layout->addWidget(&m_edtPattern);
    layout->addWidget(NewHint(QStringLiteral("{title} {source} {format} {size} {date} {n}"), group));
    layout->addWidget(&m_stcExample);
    return group;
}

QFrame* COptionsDlg::CreateEndGroup()
{
    QFrame* group = NewCard(QStringLiteral("Batch:"), this);
    m_cboIfExists.addItems(
        {QStringLiteral("Replace"), QStringLiteral("Add a number"), QStringLiteral("Skip")});
    m_cboWhenDone.addItems({QStringLiteral("Do nothing"), QStringLiteral("Quit"), QStringLiteral("Suspend"),
                            QStringLiteral("Power off")});
    m_chkKeepJobList.setText(QStringLiteral("Keep the job list between runs"));
    m_chkStartWithLast.setText(QStringLiteral("Start with the last used settings"));
    auto* grid = new QGridLayout;
    AddToCard(group, grid);
    const std::pair<const char*, QComboBox*> lists[] = {{"When the output already exists:", &m_cboIfExists},
                                                        {"When the batch is done:", &m_cboWhenDone}};
    int row = 0;
    for (const auto& [text, list] : lists) {
        auto* label = new QLabel(QString::fromUtf8(text), group);
        label->setBuddy(list);
        grid->addWidget(label, row, 0);
        grid->addWidget(list, row++, 1);
    }
    grid->addWidget(&m_chkKeepJobList, row++, 0, 1, 2);
    grid->addWidget(&m_chkStartWithLast, row, 0, 1, 2);
    return group;
}

QPushButton* COptionsDlg::AddButton(const QString& text, void (COptionsDlg::*handler)())
{
    auto* button = new QPushButton(text, this);
    UseFlatButtonLook(*button);
    button->setMinimumSize(110, 22);
    button->setAutoDefault(false); // Enter is the dialog's OK
    connect(button, &QPushButton::clicked, this, handler);
    return button;
}

void COptionsDlg::ShowOptions(const ConverterOptions& options)
{
    ShowQuality(options.quality);
    m_edtPattern.setText(options.namePattern);
    OnPatternChange();
    m_cboIfExists.setCurrentIndex(int(options.ifExists));
    m_cboWhenDone.setCurrentIndex(int(options.whenDone));
    m_chkKeepJobList.setChecked(options.keepJobList);
    m_chkStartWithLast.setChecked(options.startWithLastSettings);
}

void COptionsDlg::ShowQuality(const VideoQuality& quality)
{
    m_grpQuality.button(int(quality.mode))->setChecked(true);
    m_cboLevel.setCurrentIndex(int(quality.level));
    if (quality.mode == QualityMode::TargetSize || m_spnMegabytes.value() <= kMinTargetMegabytes)
        m_spnMegabytes.setValue(quality.mode == QualityMode::TargetSize ? quality.targetMegabytes : 10.0);
    OnQualityModeChange();
}

VideoQuality COptionsDlg::Quality() const
{
    const int mode = qMax(0, m_grpQuality.checkedId());
    const double value =
        mode == int(QualityMode::TargetSize) ? m_spnMegabytes.value() : m_cboLevel.currentIndex();
    return videoQualityFor(mode, value).value_or(VideoQuality{});
}

ConverterOptions COptionsDlg::Options() const
{
    ConverterOptions options;
    options.quality = Quality();
    options.namePattern = m_edtPattern.text().isEmpty() ? options.namePattern : m_edtPattern.text();
    options.ifExists = IfOutputExists(m_cboIfExists.currentIndex());
    options.whenDone = WhenBatchDone(m_cboWhenDone.currentIndex());
    options.keepJobList = m_chkKeepJobList.isChecked();
    options.startWithLastSettings = m_chkStartWithLast.isChecked();
    return options;
}

void COptionsDlg::OnQualityModeChange()
{
    m_cboLevel.setEnabled(m_radConstant.isChecked());
    m_spnMegabytes.setEnabled(m_radTarget.isChecked());
}

// An example row, in the format and frame size the window's lists show.
void COptionsDlg::OnPatternChange()
{
    const NameFields example{QStringLiteral("holiday.mpg"),
                             QStringLiteral("/videos/MVI_0042.mpg"),
                             m_current.choices.frameSizeIndex,
                             QDate::currentDate(),
                             7,
                             12};
    const QString pattern =
        m_edtPattern.text().isEmpty() ? ConverterOptions().namePattern : m_edtPattern.text();
    const QString name = PatternFileName(pattern, example, JobFormatForIndex(m_current.choices.formatIndex));
    m_stcExample.setText(name.isEmpty() ? QStringLiteral("Example: no usable file name")
                                        : QStringLiteral("Example: ") + name);
}

void COptionsDlg::FillPresets(const QString& selected)
{
    m_presets = AllPresets();
    m_lstPresets.clear();
    for (const Preset& preset : m_presets) {
        auto* item = new QListWidgetItem(preset.name, &m_lstPresets);
        if (preset.builtIn)
            item->setToolTip(QStringLiteral("Built in: it cannot be renamed or deleted"));
        if (preset.name == selected)
            m_lstPresets.setCurrentItem(item);
    }
}

const Preset* COptionsDlg::SelectedPreset()
{
    const int row = m_lstPresets.currentRow();
    if (row >= 0 && row < m_presets.size())
        return &m_presets[row];
    Refused(QStringLiteral("Choose a preset in the list first."));
    return nullptr;
}

std::optional<QString> COptionsDlg::AskPresetName(const QString& name)
{
    CPresetNameDlg dlg(this);
    dlg.m_strText = name;
    if (CPlatformUi::Get().RunModal(dlg) != IDOK)
        return std::nullopt;
    return dlg.m_strText;
}

bool COptionsDlg::Refused(const QString& error)
{
    if (error.isEmpty())
        return false;
    qCWarning(lcOptions).noquote() << error;
    CPlatformUi::Get().MessageBox(this, error, QStringLiteral(kProductName), kMbOk);
    return true;
}

void COptionsDlg::OnUsePreset()
{
    const Preset* chosen = SelectedPreset();
    if (!chosen)
        return;
    const Preset preset = *chosen;
    m_current.choices = preset.choices;
    if (!preset.outputFolder.isEmpty())
        m_current.outputFolder = preset.outputFolder;
    m_presetName = preset.name;
    ShowQuality(preset.quality);
    OnPatternChange();
    if (onChoosePreset)
        onChoosePreset(preset);
}

void COptionsDlg::OnSavePreset()
{
    const std::optional<QString> name = AskPresetName(m_presetName);
    if (!name)
        return;
    const Preset preset{*name, m_current.choices, Quality(),
                        m_chkIncludeFolder.isChecked() ? m_current.outputFolder : QString(), false};
    const PresetResult saved = SavePreset(preset);
    if (Refused(saved.error))
        return;
    m_presetName = saved.preset->name; // the settings are now that preset's
    FillPresets(m_presetName);
}

void COptionsDlg::OnRenamePreset()
{
    const Preset* preset = SelectedPreset();
    const std::optional<QString> name = preset ? AskPresetName(preset->name) : std::nullopt;
    if (!name)
        return;
    const PresetResult renamed = RenamePreset(preset->name, *name);
    if (Refused(renamed.error))
        return;
    if (preset->name == m_presetName)
        m_presetName = renamed.preset->name;
    FillPresets(renamed.preset->name);
}

void COptionsDlg::OnDeletePreset()
{
    const Preset* preset = SelectedPreset();
    if (!preset ||
        CPlatformUi::Get().MessageBox(this, QStringLiteral("Delete the preset \"%1\"?").arg(preset->name),
                                      QStringLiteral(kProductName), kMbOkCancel) != IDOK)
        return;
    if (!Refused(DeletePreset(preset->name)))
        FillPresets(QString());
}

void COptionsDlg::OnImportPreset()
{
    const QStringList files = CPlatformUi::Get().GetOpenFileNames(this, kPresetFilter);
    QString imported;
    for (const QString& file : files) {
        const PresetResult result = ImportPreset(file);
        if (!Refused(result.error))
            imported = result.preset->name;
    }
    if (!files.isEmpty())
        FillPresets(imported);
}

void COptionsDlg::OnExportPreset()
{
    const Preset* preset = SelectedPreset();
    const QString path = preset ? CPlatformUi::Get().GetSaveFileName(
                                      this, kPresetFilter, QDir::home().filePath(preset->name + ".json"))
                                : QString();
    if (!path.isEmpty())
        Refused(ExportPreset(*preset, path));
}
