#include "dialogs/CAboutDlg.h"
#include "res/resource.h"
#include "skin/CLinkStatic.h"
#include "support/CShellRecorder.h"

#include <QtTest>

class TestAboutDialogs : public QObject
{
    Q_OBJECT
private slots:
    // Every line shows whole on one line inside the box; each link is cut to its caption, so
    // only the text itself is a link, and opens its address; Enter closes the box.
    void aboutBox()
    {
        CShellRecorder shell;
        CAboutDlg dlg;
        for (const QLabel* label : dlg.findChildren<QLabel*>()) {
            QVERIFY2(!label->text().contains(QLatin1Char('\n')) &&
                         QFontMetrics(label->font()).horizontalAdvance(label->text()) <= label->width() &&
                         label->geometry().right() < dlg.width(),
                     qPrintable(label->text()));
        }
        dlg.show();
        auto* mail = dlg.findChild<CLinkStatic*>(QStringLiteral("ctl%1").arg(IDC_MAIL_LINK));
        auto* home = dlg.findChild<CLinkStatic*>(QStringLiteral("ctl%1").arg(IDC_HOMEPAGE_LINK));
        QVERIFY(mail && home);
        for (CLinkStatic* link : {mail, home})
            QCOMPARE(link->width(), QFontMetrics(link->font()).horizontalAdvance(link->text()));
        QTest::mouseClick(mail, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseClick(home, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(shell.shellRequests, (QStringList{QStringLiteral("open|mailto:support@viravvelmora.example"),
                                                   QStringLiteral("open|https://viravvelmora.example/")}));
        QTest::keyClick(&dlg, Qt::Key_Return);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestAboutDialogs)
#include "test_about_dialogs.moc"
