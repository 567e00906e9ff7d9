#include "CWhiteEdit.h"

CWhiteEdit::CWhiteEdit(QWidget* parent) : QLineEdit(parent)
{
    setReadOnly(true);
    setFrame(false);
    QPalette colors = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colors.setColor(group, QPalette::Base, Qt::white);
        colors.setColor(group, QPalette::Window, Qt::white);
        colors.setColor(group, QPalette::Text, Qt::black);
    }
    setPalette(colors);
    setAutoFillBackground(true);
    // Shown like a static text: from its start, whatever its length.
    connect(this, &QLineEdit::textChanged, this, [this] { setCursorPosition(0); });
}

CWhiteEdit::~CWhiteEdit() = default;
