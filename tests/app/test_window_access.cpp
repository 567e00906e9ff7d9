// The main window as a screen reader and the keyboard meet it.
#include "app/CConverterDlg.h"
#include "res/resource.h"
#include "support/CRecordingEngine.h"

#include <QAccessible>
#include <QtTest>

namespace {
// What a screen reader calls a control. Qt names a drop-down list here by its value, so
// the reader takes the text of the label that labels it.
QString SpokenName(QWidget* control)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
    if (face->role() != QAccessible::ComboBox)
        return face->text(QAccessible::Name);
    const auto labels = face->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name).remove(':');
}
} // namespace

class TestWindowAccess : public QObject
{
    Q_OBJECT
private slots:
    // Tab from Add, where focus starts, round the window with rows in the job list (which Tab
    // leaves rather than walking its cells): each control's name, role and a button's tooltip.
    void controlsAreNamedAndTabbedInScreenOrder()
    {
        CConverterDlg dlg(std::make_unique<CRecordingEngine>());
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        dlg.GetDlgItem(IDC_PICTURE)->hide();
        qobject_cast<QTableWidget*>(dlg.GetDlgItem(IDC_JOBLIST))->setRowCount(2);
        dlg.GetDlgItem(IDC_JOBLIST)->show();
        const auto button = QAccessible::Button, combo = QAccessible::ComboBox;
        // In Tab order, and round to Add again.
        const std::tuple<int, const char*, QAccessible::Role> order[] = {
            {IDC_ADDFILES, "Add video files", button},
            {IDC_STOPCONVERT, "Stop converting", button},
            {IDC_CONVERT, "Convert checked files", button},
            {IDC_LISTMENU, "List menu", button},
            {IDC_HOMEPAGE, "Home page", button},
            {IDC_OUTPUTPROFILE, "Profile Setting", combo},
            {IDC_SELECTFOLDER, "Choose output folder", button},
            {IDC_EXPLORE, "Open output folder", button},
            {IDC_ENGINE, "Preview", QAccessible::Client},
            {IDC_PREVCLIP, "Previous clip", button},
            {IDC_BACK10, "Back 10 seconds", button},
            {IDC_PLAY, "Play", button},
            {IDC_STOPPREVIEW, "Stop preview", button},
            {IDC_FORWARD10, "Forward 10 seconds", button},
            {IDC_NEXTCLIP, "Next clip", button},
            {IDC_STRETCHMODE, "Stretch Mode", combo},
            {IDC_FRAMESIZE, "Size", combo},
            {IDC_AUDIOBITRATE, "Bitrate", combo},
            {IDC_FILEMENU, "File menu", button},
            {IDC_EDITMENU, "Edit menu", button},
            {IDC_HELPMENU, "Help menu", button},
            {IDC_HELP, "Help", button},
            {IDC_MINIMIZE, "Minimize", button},
            {IDC_CLOSE, "Close", button},
            {IDC_JOBLIST, "Job list", QAccessible::Table},
            {IDC_ADDFILES, "Add video files", button}};
        for (const auto& [id, name, role] : order) {
            QWidget* control = QApplication::focusWidget();
            QCOMPARE(control->objectName(), QStringLiteral("ctl%1").arg(id));
            QCOMPARE(SpokenName(control), QString(name));
            QCOMPARE(QAccessible::queryAccessibleInterface(control)->role(), role);
            QCOMPARE(control->toolTip(), role == button ? QString(name) : QString());
            QTest::keyClick(control, Qt::Key_Tab);
        }
        // The folder box, which Tab passes by as the label it is.
        QCOMPARE(SpokenName(dlg.GetDlgItem(IDC_OUTPUTFOLDER)), QString("Output Folder"));
        QCOMPARE(dlg.GetDlgItem(IDC_OUTPUTFOLDER)->focusPolicy(), Qt::NoFocus);
    }
};

QTEST_MAIN(TestWindowAccess)
#include "test_window_access.moc"
