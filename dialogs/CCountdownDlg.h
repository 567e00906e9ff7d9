// Asks before the machine is suspended or powered off at the end of a batch: the
// action goes ahead when the countdown runs out or "now" is pressed; Cancel keeps it
// from happening.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QTimer>

class CCountdownDlg : public QDialog
{
    Q_OBJECT
public:
    // action: "Suspend" or "Power off", as the box names it.
    CCountdownDlg(const QString& action, int seconds, QWidget* parent = nullptr);
    ~CCountdownDlg() override;

    int SecondsLeft() const { return m_nSecondsLeft; }
    // One second of the countdown; the box accepts itself at 0.
    void OnTick();

private:
    void ShowSecondsLeft();

    QString m_action;
    int m_nSecondsLeft;
    QLabel m_stcText;
    QTimer m_timer;
};
