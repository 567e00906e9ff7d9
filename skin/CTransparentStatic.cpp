#include "CTransparentStatic.h"

CTransparentStatic::CTransparentStatic(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

CTransparentStatic::~CTransparentStatic() = default;
