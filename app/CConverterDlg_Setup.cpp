// One-time setup of the main window: controls from template 102, shape, images,
// initial values and the stored output folder.
#include "CConverterDlg.h"

#include "CUncommittedEditDelegate.h"
#include "jobs/OutputFolderStore.h"
#include "res/ColorRef.h"
#include "res/DialogTemplates.h"
#include "res/SkinBitmaps.h"
#include "res/StringTable.h"
#include "res/TemplateBuilder.h"
#include "res/resource.h"
#include "skin/WindowRegion.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyleOptionHeader>

namespace {
struct JobColumn
{
    const char* heading;
    Qt::Alignment alignment;
    int width;
};

const JobColumn kJobColumns[] = {
    {"Title", Qt::AlignLeft, 120},        {"Start Time(Sec)", Qt::AlignLeft, 79},
    {"End Time(Sec)", Qt::AlignLeft, 75}, {"Status", Qt::AlignHCenter, 120},
    {"Full Path", Qt::AlignLeft, 280},
};

constexpr qreal kSmallestHeadingPoints = 6;

const std::pair<int, int> kLabelledControls[] = {
    {IDC_PROFILE_LABEL, IDC_OUTPUTPROFILE}, {IDC_FOLDER_LABEL, IDC_OUTPUTFOLDER},
    {IDC_STRETCH_LABEL, IDC_STRETCHMODE},   {IDC_SIZE_LABEL, IDC_FRAMESIZE},
    {IDC_BITRATE_LABEL, IDC_AUDIOBITRATE},
};

bool HeadingsFit(const QTableWidget& list, const QFont& font)
{
    const QHeaderView* header = list.horizontalHeader();
    const QFontMetrics metrics(font);
    for (int column = 0; column < list.columnCount(); ++column) {
        QStyleOptionHeader option;
        option.initFrom(header);
        option.rect = QRect(0, 0, list.columnWidth(column), header->height());
        const QRect room = header->style()->subElementRect(QStyle::SE_HeaderLabel, &option, header);
        if (metrics.horizontalAdvance(list.horizontalHeaderItem(column)->text()) > room.width())
            return false;
    }
    return true;
}

// The columns keep their widths, so headings that would be cut get a smaller size:
// the largest, from the list's own down, at which every heading shows whole.
void FitHeadingFont(QTableWidget& list)
{
    QFont font = list.font();
    while (font.pointSizeF() > kSmallestHeadingPoints && !HeadingsFit(list, font))
        font.setPointSizeF(font.pointSizeF() - 0.5);
    list.horizontalHeader()->setFont(font);
}

void SetColor(QWidget* widget, QPalette::ColorRole role, COLORREF color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, ToQColor(color));
    widget->setPalette(palette);
}
} // namespace

bool CConverterDlg::OnInitDialog()
{
    CreateControls();

    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint);
    setWindowIcon(m_hIcon);
    setWindowTitle(QStringLiteral(kProductName));

    m_ctlPicture.LoadBitmapResource(IDB_PANEL);
    m_lstJobs.hide();
    m_ctlPicture.show();

    m_bmpBackground = LoadSkinBitmap(IDB_BACKGROUND);
    setFixedSize(m_bmpBackground.isNull() ? QSize(MAIN_WINDOW_WIDTH, MAIN_WINDOW_HEIGHT)
                                          : m_bmpBackground.deviceIndependentSize().toSize());
    SetupWindowShape();

    m_szOutputFolder = ReadStoredOutputFolder();
    m_edtOutputFolder.setText(m_szOutputFolder);

    SetupButtonImages();
    for (int id : {IDC_FRAMESIZE, IDC_STRETCHMODE, IDC_AUDIOBITRATE, IDC_OUTPUTPROFILE}) {
        auto* combo = qobject_cast<QComboBox*>(GetDlgItem(id));
        const QSignalBlocker blocker(combo);
        combo->setCurrentIndex(0);
    }
    SetupJobList();
    SetupFileDrops();
    SetupAccessibility();
    ConnectCommands();
    SetupOptions();
    ApplyLayout();
    return true;
}

void CConverterDlg::CreateControls()
{
    setFont(TemplateFont(ConverterDialogTemplate()));
    m_controls = CreateTemplateControls(*this, ConverterDialogTemplate(), ConverterDialogBaseUnits(),
                                        [this](const DialogControl& ctl) { return DoDataExchange(ctl.id); });
    m_ctlProgress.setGeometry(ProgressBarRect());
    for (const LayoutEntry& entry : SectionLabelRects())
        GetDlgItem(entry.id)->setGeometry(entry.rect);

    m_fntSectionLabel = QFont(QStringLiteral("Arial Black"));
    m_fntSectionLabel.setPointSize(12);
    for (int id : {IDC_VIDEO_LABEL, IDC_AUDIO_LABEL})
        SetColor(GetDlgItem(id), QPalette::WindowText, CLR_SECTION_LABEL);
    // The engine control paints its idle area in the colours it is handed.
    SetColor(GetDlgItem(IDC_ENGINE), QPalette::Window, CLR_PREVIEW_BACKGROUND);
    SetColor(GetDlgItem(IDC_ENGINE), QPalette::WindowText, CLR_PREVIEW_HINT);
    // Labels and the folder display are statics: they take no mouse input, so a drag
    // on them moves the window.
    for (int id : {IDC_VIDEO_LABEL, IDC_AUDIO_LABEL, IDC_STRETCH_LABEL, IDC_BITRATE_LABEL, IDC_PROFILE_LABEL,
                   IDC_FOLDER_LABEL, IDC_SIZE_LABEL, IDC_OUTPUTFOLDER})
        GetDlgItem(id)->setAttribute(Qt::WA_TransparentForMouseEvents);
}

// The mask is in the window's own pixels, so it comes from the bitmap at scale 1; the
// finer ones are cut along the same pixels scaled.
void CConverterDlg::SetupWindowShape()
{
    if (m_bmpBackground.isNull())
        return;
    const QRgb key = ToQColor(CLR_REGION_KEY).rgb();
    setMask(RegionFromBitmap(LoadSkinBitmap(IDB_BACKGROUND, 1.0).toImage(), key));
    raise();
    activateWindow();
}

void CConverterDlg::SetupButtonImages()
{
    for (const ButtonImages& images : ConverterButtonImages()) {
        if (auto* button = qobject_cast<CSkinButton*>(GetDlgItem(images.id)))
            button->SetStateImages(images.normal, images.pressed, images.hover);
    }
}

// Image buttons name themselves after their look; the other controls after their labels,
// which also label them for screen readers that name a drop-down list by its value.
// Tab follows the screen rather than the template's order.
void CConverterDlg::SetupAccessibility()
{
    for (const ControlName& control : ConverterControlNames()) {
        QWidget* widget = GetDlgItem(control.id);
        if (control.normalImage == 0 && widget)
            widget->setAccessibleName(QString::fromUtf8(control.name));
    }
    for (const auto& [label, control] : kLabelledControls)
        qobject_cast<QLabel*>(GetDlgItem(label))->setBuddy(GetDlgItem(control));
    QWidget* previous = nullptr;
    for (int id : ConverterTabOrder()) {
        QWidget* widget = GetDlgItem(id);
        if (previous && widget)
            setTabOrder(previous, widget);
        previous = widget ? widget : previous;
    }
    m_btnAddFiles.setFocus(); // where focus has always started
}

void CConverterDlg::SetupJobList()
{
    m_lstJobs.setColumnCount(static_cast<int>(std::size(kJobColumns)));
    for (int column = 0; column < m_lstJobs.columnCount(); ++column) {
        const JobColumn& jobColumn = kJobColumns[column];
        auto* header = new QTableWidgetItem(QString::fromUtf8(jobColumn.heading));
        header->setTextAlignment(jobColumn.alignment | Qt::AlignVCenter);
        m_lstJobs.setHorizontalHeaderItem(column, header);
        m_lstJobs.setColumnWidth(column, jobColumn.width);
    }
    m_lstJobs.setShowGrid(true);
    m_lstJobs.setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lstJobs.setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_lstJobs.verticalHeader()->hide();
    m_lstJobs.verticalHeader()->setDefaultSectionSize(18);
    m_lstJobs.horizontalHeader()->setHighlightSections(false);
    m_lstJobs.horizontalHeader()->setSectionsClickable(false);
    m_lstJobs.setWordWrap(false);
    m_lstJobs.setTabKeyNavigation(false); // Tab goes on to the next control, as in the other lists

    m_lstJobs.setContextMenuPolicy(Qt::CustomContextMenu);
    // Titles can be edited in place, but the edit is never taken: Rename changes them.
    m_lstJobs.setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    m_lstJobs.setItemDelegateForColumn(0, new CUncommittedEditDelegate(&m_lstJobs));
    FitHeadingFont(m_lstJobs);
}
