#include "CTextEntryDlg.h"

#include "res/TemplateBuilder.h"
#include "res/resource.h"

#include <QGroupBox>

namespace {
// The frame runs through the middle of the caption, as the platform draws a group box,
// not below it: the template places the edit just under the caption.
constexpr char kGroupBoxStyle[] =
    "QGroupBox { border: 1px solid palette(mid); margin-top: 0.5em; }"
    "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }";
} // namespace

CTextEntryDlg::CTextEntryDlg(const DialogTemplate& tpl, QWidget* parent) : QDialog(parent)
{
    BuildDialogFromTemplate(*this, tpl, [this](const DialogControl& ctl) -> QWidget* {
        return ctl.id == IDC_EDIT_TEXT ? &m_edtText : nullptr;
    });
    if (auto* group = findChild<QGroupBox*>())
        group->setStyleSheet(QString::fromLatin1(kGroupBoxStyle));
}

CTextEntryDlg::~CTextEntryDlg() = default;

void CTextEntryDlg::accept()
{
    DoDataExchange(true);
    QDialog::accept();
}

// The dialog is filled when it is shown, as the caller sets m_strText after construction.
void CTextEntryDlg::showEvent(QShowEvent* event)
{
    DoDataExchange(false);
    m_edtText.setFocus();
    m_edtText.selectAll();
    QDialog::showEvent(event);
}

void CTextEntryDlg::DoDataExchange(bool save)
{
    if (save)
        m_strText = m_edtText.text();
    else
        m_edtText.setText(m_strText);
}
