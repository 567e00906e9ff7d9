#include "dialogs/CAboutDlg.h"
#include "res/resource.h"
#include "skin/CLinkStatic.h"
#include "support/CShellRecorder.h"

#include <QtTest>

namespace {
template <typename Control = QWidget> Control* Ctl(const QWidget& dialog, int id)
{
    return dialog.findChild<Control*>(QStringLiteral("ctl%1").arg(id));
}
} // namespace

class TestAboutDialogs : public QObject
{
    Q_OBJECT
private slots:
    void aboutBoxLinesFitAndEnterCloses()
    {
        CAboutDlg dlg;
        // Every line shows whole on one line inside the box.
        for (const QLabel* label : dlg.findChildren<QLabel*>()) {
            QVERIFY2(!label->text().contains(QLatin1Char('\n')) &&
                         QFontMetrics(label->font()).horizontalAdvance(label->text()) <= label->width() &&
                         label->geometry().right() < dlg.width(),
                     qPrintable(label->text()));
        }
        dlg.show();
        QTest::keyClick(&dlg, Qt::Key_Return);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
    }

    void aboutBoxLinksOpenTheirAddresses()
    {
        CShellRecorder shell;
        CAboutDlg dlg;
        dlg.show();
        auto* mail = Ctl<CLinkStatic>(dlg, IDC_MAIL_LINK);
        auto* home = Ctl<CLinkStatic>(dlg, IDC_HOMEPAGE_LINK);
        QVERIFY(mail && home);
        // Each link is cut to its caption, so only the text itself is a link.
        for (CLinkStatic* link : {mail, home})
            QCOMPARE(link->width(), QFontMetrics(link->font()).horizontalAdvance(link->text()));

        QTest::mouseClick(mail, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseClick(home, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(shell.shellRequests, (QStringList{QStringLiteral("open|mailto:support@viravvelmora.example"),
                                                   QStringLiteral("open|https://viravvelmora.example/")}));
    }
};

QTEST_MAIN(TestAboutDialogs)
#include "test_about_dialogs.moc"
