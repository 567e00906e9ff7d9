#include "CAboutDlg.h"

#include "res/SkinBitmaps.h"
#include "res/StringTable.h"
#include "res/TemplateBuilder.h"
#include "res/resource.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    BuildDialogFromTemplate(*this, AboutDialogTemplate(), [this](const DialogControl& ctl) -> QWidget* {
        switch (ctl.id) {
        case IDC_MAIL_LINK:
            return &m_lnkMail;
        case IDC_HOMEPAGE_LINK:
            return &m_lnkHomePage;
        case IDC_ASSIST_LINE:
            return &m_stcAssist;
        case IDC_SUPPORT_LINE:
            return &m_stcSupport;
        default:
            return nullptr;
        }
    });
    setWindowIcon(LoadAppIcon());
    // The links become links once the template has given them caption and place.
    m_lnkMail.PreSubclassWindow();
    m_lnkHomePage.PreSubclassWindow();
    OnInitDialog();
}

CAboutDlg::~CAboutDlg() = default;

bool CAboutDlg::OnInitDialog()
{
    m_lnkMail.SetLinkURL(QStringLiteral("mailto:" kSupportMailAddress));
    m_stcSupport.setText(QStringLiteral("Need help? Write to our support team at the address below."));
    m_stcAssist.setText(QStringLiteral("We provide free technical assistance."));
    return true;
}
