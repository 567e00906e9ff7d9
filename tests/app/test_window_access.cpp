// The main window as a screen reader and the keyboard meet it.
#include "app/CConverterDlg.h"
#include "res/DialogTemplates.h"
#include "res/resource.h"
#include "support/CRecordingEngine.h"

#include <QAccessible>
#include <QtTest>

#include <tuple>

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

// Screen order: the title bar left to right, then the left column and the right one,
// each top to bottom in rows a few pixels high, each row left to right.
std::tuple<int, int, int> ScreenPlace(const QWidget* control)
{
    const QPoint at = control->geometry().topLeft();
    if (at.y() < 60)
        return {0, 0, at.x()};
    return {at.x() < 480 ? 1 : 2, at.y() / 10, at.x()};
}
} // namespace

class TestWindowAccess : public QObject
{
    Q_OBJECT
private slots:
    // Tab goes round every control that takes the focus once, in screen order, the job list
    // (with rows, which Tab leaves rather than walking its cells) as one stop. Each has a name
    // of its own, which a button also shows as its tooltip.
    void controlsAreNamedAndTabbedInScreenOrder()
    {
        CConverterDlg dlg(std::make_unique<CRecordingEngine>());
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        dlg.GetDlgItem(IDC_PICTURE)->hide();
        qobject_cast<QTableWidget*>(dlg.GetDlgItem(IDC_JOBLIST))->setRowCount(2);
        dlg.GetDlgItem(IDC_JOBLIST)->show();
        QCOMPARE(QApplication::focusWidget(), dlg.GetDlgItem(IDC_ADDFILES)); // where focus starts
        dlg.GetDlgItem(IDC_FILEMENU)->setFocus();
        QList<QWidget*> visited;
        QStringList names;
        for (QWidget* control = QApplication::focusWidget(); !visited.contains(control);
             control = QApplication::focusWidget()) {
            visited << control;
            names << SpokenName(control);
            QVERIFY2(!names.last().isEmpty(), qPrintable(control->objectName()));
            const bool button = QAccessible::queryAccessibleInterface(control)->role() == QAccessible::Button;
            QCOMPARE(control->toolTip(), button ? names.last() : QString());
            QTest::keyClick(control, Qt::Key_Tab);
        }
        QCOMPARE(visited.first(), dlg.GetDlgItem(IDC_FILEMENU)); // round to where it began
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
        QList<QWidget*> inScreenOrder = visited;
        std::stable_sort(inScreenOrder.begin(), inScreenOrder.end(),
                         [](QWidget* a, QWidget* b) { return ScreenPlace(a) < ScreenPlace(b); });
        QCOMPARE(visited, inScreenOrder);
        for (const DialogControl& ctl : ConverterDialogTemplate().controls) {
            QWidget* control = dlg.GetDlgItem(ctl.id);
            if (control && control->isVisible() && control->focusPolicy() & Qt::TabFocus)
                QVERIFY2(visited.contains(control), qPrintable(control->objectName()));
        }
        // The folder box, which Tab passes by as the label it is.
        QCOMPARE(SpokenName(dlg.GetDlgItem(IDC_OUTPUTFOLDER)), QString("Output Folder"));
        QCOMPARE(dlg.GetDlgItem(IDC_OUTPUTFOLDER)->focusPolicy(), Qt::NoFocus);
    }
};

QTEST_MAIN(TestWindowAccess)
#include "test_window_access.moc"
