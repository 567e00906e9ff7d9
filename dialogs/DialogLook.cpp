#include "DialogLook.h"

#include <QGroupBox>
#include <QPushButton>

namespace {
constexpr char kFlatButtonStyle[] =
    "QPushButton { border: 1px solid palette(dark); background: palette(button); }"
    "QPushButton:focus { border-color: palette(highlight); }"
    "QPushButton:pressed { background: palette(midlight); }";

constexpr char kGroupBoxStyle[] =
    "QGroupBox { border: 1px solid palette(mid); margin-top: 0.5em; }"
    "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }";
} // namespace

void UseFlatButtonLook(QPushButton& button)
{
    button.setStyleSheet(QString::fromLatin1(kFlatButtonStyle));
}

void UseGroupBoxLook(QGroupBox& group)
{
    group.setStyleSheet(QString::fromLatin1(kGroupBoxStyle));
}
