// The main window as a screen reader and the keyboard meet it: each control's name and
// role through QAccessible, its tooltip, and where Tab goes from it.
#include "app/CConverterDlg.h"
#include "res/resource.h"
#include "support/CRecordingEngine.h"

#include <QAccessible>
#include <QtTest>

namespace {
// What a screen reader calls a control: on this desktop Qt names a drop-down list by its
// value, so the reader takes the text of the label that labels it, as it reads on screen.
QString SpokenName(QAccessibleInterface* face)
{
    if (face->role() != QAccessible::ComboBox)
        return face->text(QAccessible::Name);
    const auto labels = face->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name).remove(':');
}
} // namespace

class TestWindowAccess : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<CConverterDlg> m_dlg;

private slots:
    // Focus starts on Add. Then rows in the job list, which takes the picture's place: Tab
    // leaves the list rather than walking its cells.
    void initTestCase()
    {
        m_dlg = std::make_unique<CConverterDlg>(std::make_unique<CRecordingEngine>());
        m_dlg->show();
        QVERIFY(QTest::qWaitForWindowActive(m_dlg.get()));
        QCOMPARE(QApplication::focusWidget(), m_dlg->GetDlgItem(IDC_ADDFILES));
        m_dlg->GetDlgItem(IDC_PICTURE)->hide();
        auto* list = qobject_cast<QTableWidget*>(m_dlg->GetDlgItem(IDC_JOBLIST));
        list->setRowCount(2);
        list->show();
    }

    void controlsAreNamedAndTabbedInScreenOrder_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("name"); // image buttons: the tooltip too
        QTest::addColumn<int>("role");
        QTest::addColumn<int>("next"); // where Tab goes; 0 for a control Tab skips
        const int button = QAccessible::Button;
        const int combo = QAccessible::ComboBox;
        const QList<std::tuple<int, const char*, int>> rows{
            {IDC_FILEMENU, "File menu", button},
            {IDC_EDITMENU, "Edit menu", button},
            {IDC_HELPMENU, "Help menu", button},
            {IDC_HELP, "Help", button},
            {IDC_MINIMIZE, "Minimize", button},
            {IDC_CLOSE, "Close", button},
            {IDC_JOBLIST, "Job list", QAccessible::Table},
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
        };
        for (int i = 0; i < rows.size(); ++i) {
            const auto& [id, name, role] = rows[i];
            QTest::newRow(name) << id << QString(name) << role << std::get<0>(rows[(i + 1) % rows.size()]);
        }
        QTest::newRow("output folder")
            << IDC_OUTPUTFOLDER << "Output Folder" << int(QAccessible::EditableText) << 0;
    }
    void controlsAreNamedAndTabbedInScreenOrder()
    {
        QFETCH(int, id);
        QFETCH(QString, name);
        QFETCH(int, role);
        QFETCH(int, next);
        QWidget* control = m_dlg->GetDlgItem(id);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
        QCOMPARE(SpokenName(face), name);
        QCOMPARE(int(face->role()), role);
        if (role == QAccessible::Button)
            QCOMPARE(control->toolTip(), name);
        if (!next) {
            QCOMPARE(control->focusPolicy(), Qt::NoFocus);
            return;
        }
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), m_dlg->GetDlgItem(next));
    }
};

QTEST_MAIN(TestWindowAccess)
#include "test_window_access.moc"
