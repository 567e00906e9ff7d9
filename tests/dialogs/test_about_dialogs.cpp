#include "dialogs/CAboutDlg.h"
#include "dialogs/CVersionDlg.h"
#include "res/resource.h"
#include "skin/CLinkStatic.h"
#include "support/CShellRecorder.h"

#include <QGroupBox>
#include <QPushButton>
#include <QtTest>

namespace
{
QStringList LabelTexts(const QWidget& dialog)
{
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

CLinkStatic* Link(const QWidget& dialog, int id)
{
    return dialog.findChild<CLinkStatic*>(QStringLiteral("ctl%1").arg(id));
}

QPushButton* Button(const QWidget& dialog, int id)
{
    return dialog.findChild<QPushButton*>(QStringLiteral("ctl%1").arg(id));
}

// Whether a label's text fits its width on one line.
bool FitsOnOneLine(const QLabel& label)
{
    return !label.text().contains(QLatin1Char('\n')) &&
           QFontMetrics(label.font()).horizontalAdvance(label.text()) <= label.width();
}
} // namespace

class TestAboutDialogs : public QObject
{
    Q_OBJECT
private slots:
    void aboutBoxShowsProductAndSupportLines();
    void aboutBoxLinksOpenTheirAddresses();
    void linksAreFreshOnEachOpening();
    void versionBoxIsAPlainBox();
};

void TestAboutDialogs::aboutBoxShowsProductAndSupportLines()
{
    CAboutDlg dlg;
    QCOMPARE(dlg.windowTitle(), QStringLiteral("About"));
    QVERIFY(!dlg.windowIcon().isNull());
    const QStringList texts = LabelTexts(dlg);
    QVERIFY(texts.contains(QStringLiteral("Virav Velmora Video Converter  3.2")));
    QVERIFY(texts.contains(QStringLiteral("Home Page:")));

    auto* assist = dlg.findChild<QLabel*>(QStringLiteral("ctl%1").arg(IDC_ASSIST_LINE));
    auto* support = dlg.findChild<QLabel*>(QStringLiteral("ctl%1").arg(IDC_SUPPORT_LINE));
    QVERIFY(assist && support);
    QCOMPARE(assist->text(), QStringLiteral("We provide free technical assistance."));
    QVERIFY(!support->text().isEmpty());
    for (const QLabel* label : dlg.findChildren<QLabel*>())
        QVERIFY2(FitsOnOneLine(*label), qPrintable(label->text()));
    QVERIFY(support->x() + support->width() <= dlg.width());

    QPushButton* ok = Button(dlg, IDOK);
    QVERIFY(ok);
    QCOMPARE(ok->text(), QStringLiteral("Ok"));
    dlg.show();
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));

    CAboutDlg byKeyboard;
    byKeyboard.show();
    QTest::keyClick(&byKeyboard, Qt::Key_Return);
    QCOMPARE(byKeyboard.result(), int(QDialog::Accepted));
}

void TestAboutDialogs::aboutBoxLinksOpenTheirAddresses()
{
    CShellRecorder shell;
    CAboutDlg dlg;
    dlg.show();
    CLinkStatic* mail = Link(dlg, IDC_MAIL_LINK);
    CLinkStatic* home = Link(dlg, IDC_HOMEPAGE_LINK);
    QVERIFY(mail && home);

    QCOMPARE(mail->text(), QStringLiteral("support@viravvelmora.example"));
    QCOMPARE(mail->LinkURL(), QStringLiteral("mailto:support@viravvelmora.example"));
    QCOMPARE(mail->toolTip(), mail->LinkURL());
    QCOMPARE(home->text(), QStringLiteral("https://viravvelmora.example/ "));
    QCOMPARE(home->LinkURL(), home->text());
    QCOMPARE(home->toolTip(), home->text());
    // Each link is cut to its caption, so only the text itself is a link.
    for (CLinkStatic* link : {mail, home})
        QCOMPARE(link->width(), QFontMetrics(link->font()).horizontalAdvance(link->text()));

    QTest::mouseClick(mail, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseClick(home, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(shell.shellRequests, (QStringList{QStringLiteral("open|mailto:support@viravvelmora.example"),
                                               QStringLiteral("open|https://viravvelmora.example/")}));
}

void TestAboutDialogs::linksAreFreshOnEachOpening()
{
    CShellRecorder shell;
    {
        CAboutDlg first;
        first.show();
        QTest::mouseClick(Link(first, IDC_MAIL_LINK), Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(Link(first, IDC_MAIL_LINK)->IsVisited());
    }
    CAboutDlg second;
    for (int id : {IDC_MAIL_LINK, IDC_HOMEPAGE_LINK}) {
        QVERIFY(!Link(second, id)->IsVisited());
        QCOMPARE(Link(second, id)->TextColor(), MakeRgb(0, 0, 255));
    }
}

void TestAboutDialogs::versionBoxIsAPlainBox()
{
    CVersionDlg dlg;
    QVERIFY(!dlg.windowIcon().isNull());
    QVERIFY(LabelTexts(dlg).contains(QStringLiteral("Virav Velmora Video Converter")));
    QPushButton* ok = Button(dlg, IDOK);
    QVERIFY(ok);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QVERIFY(ok->isDefault());
    dlg.show();
    QTest::keyClick(&dlg, Qt::Key_Escape);
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
}

QTEST_MAIN(TestAboutDialogs)
#include "test_about_dialogs.moc"
