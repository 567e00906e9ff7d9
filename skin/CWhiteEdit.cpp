#include "CWhiteEdit.h"

CWhiteEdit::CWhiteEdit(QWidget* parent) : QLineEdit(parent)
{
    setReadOnly(true);
    setFrame(false);
}

CWhiteEdit::~CWhiteEdit() = default;
