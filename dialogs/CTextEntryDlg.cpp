#include "CTextEntryDlg.h"

#include "DialogLook.h"

#include "res/TemplateBuilder.h"
#include "res/resource.h"

#include <QGroupBox>

CTextEntryDlg::CTextEntryDlg(const DialogTemplate& tpl, QWidget* parent) : QDialog(parent)
{
    BuildDialogFromTemplate(*this, tpl, [this](const DialogControl& ctl) -> QWidget* {
        return ctl.id == IDC_EDIT_TEXT ? &m_edtText : nullptr;
    });
    if (auto* group = findChild<QGroupBox*>())
        UseGroupBoxLook(*group);
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
