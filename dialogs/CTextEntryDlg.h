// The shape the three text-entry dialogs share: one edit (1003) exchanged with
// m_strText. The caller sets m_strText, runs the dialog and, after OK, reads it back;
// Cancel leaves it as it was.
#pragma once

#include <QDialog>
#include <QLineEdit>

struct DialogTemplate;

class CTextEntryDlg : public QDialog
{
    Q_OBJECT
public:
    ~CTextEntryDlg() override;

    QString m_strText;

    void accept() override;

protected:
    CTextEntryDlg(const DialogTemplate& tpl, QWidget* parent);
    void showEvent(QShowEvent* event) override;

private:
    void DoDataExchange(bool save);

    QLineEdit m_edtText; // 1003
};
