#include "CCountdownDlg.h"

#include "DialogLook.h"

#include "res/DialogTemplates.h"
#include "res/SkinBitmaps.h"
#include "res/StringTable.h"
#include "res/TemplateBuilder.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

CCountdownDlg::CCountdownDlg(const QString& action, int seconds, QWidget* parent)
    : QDialog(parent), m_action(action), m_nSecondsLeft(seconds)
{
    setWindowTitle(QStringLiteral(kProductName));
    setWindowIcon(LoadAppIcon());
    setFont(TemplateFont(AboutDialogTemplate()));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* now = buttons->addButton(action + QStringLiteral(" now"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    for (QPushButton* button : {now, cancel}) {
        UseFlatButtonLook(*button);
        button->setIcon(QIcon());
        button->setMinimumSize(90, 24);
    }
    cancel->setDefault(true); // Enter must not power the machine off
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(14);
    layout->addWidget(&m_stcText);
    layout->addWidget(buttons);
    ShowSecondsLeft();
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &CCountdownDlg::OnTick);
    m_timer.start();
}

CCountdownDlg::~CCountdownDlg() = default;

void CCountdownDlg::OnTick()
{
    m_nSecondsLeft = qMax(0, m_nSecondsLeft - 1);
    ShowSecondsLeft();
    if (m_nSecondsLeft == 0)
        accept();
}

void CCountdownDlg::ShowSecondsLeft()
{
    m_stcText.setText(QStringLiteral("The batch is done.\n%1 in %2 s unless you press Cancel.")
                          .arg(m_action)
                          .arg(m_nSecondsLeft));
}
