#include "CAboutDlg.h"

#include "DialogLook.h"

#include "res/SkinBitmaps.h"
#include "res/StringTable.h"
#include "res/TemplateBuilder.h"
#include "res/resource.h"

#include <QPushButton>

namespace {
// Lines longer than their template slot grow to the right rather than being cut.
void WidenToText(QLabel& label)
{
    const int textWidth = label.fontMetrics().horizontalAdvance(label.text());
    if (textWidth > label.width())
        label.resize(textWidth, label.height());
}
} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    auto bind = [this](const DialogControl& ctl) -> QWidget* {
        switch (ctl.id) {
        case IDC_MAIL_LINK: return &m_lnkMail;
        case IDC_HOMEPAGE_LINK: return &m_lnkHomePage;
        case IDC_ASSIST_LINE: return &m_stcAssist;
        case IDC_SUPPORT_LINE: return &m_stcSupport;
        default: return nullptr;
        }
    };
    const QHash<int, QWidget*> controls = BuildDialogFromTemplate(*this, AboutDialogTemplate(), bind);
    setWindowIcon(LoadAppIcon());
    if (auto* ok = qobject_cast<QPushButton*>(controls.value(IDOK))) {
        UseFlatButtonLook(*ok);
        ok->setDefault(true); // Enter closes the box, as in any dialog
    }
    // The links become links once the template has given them caption and place.
    m_lnkMail.PreSubclassWindow();
    m_lnkHomePage.PreSubclassWindow();
    OnInitDialog();
    for (QLabel* label : findChildren<QLabel*>()) {
        if (!qobject_cast<CLinkStatic*>(label))
            WidenToText(*label);
    }
}

CAboutDlg::~CAboutDlg() = default;

bool CAboutDlg::OnInitDialog()
{
    m_lnkMail.SetLinkURL(QStringLiteral("mailto:" kSupportMailAddress));
    m_stcSupport.setText(QStringLiteral("Need help? Write to our support team at the address below."));
    m_stcAssist.setText(QStringLiteral("We provide free technical assistance."));
    return true;
}
