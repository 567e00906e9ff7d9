// A label that draws its text straight onto the parent's skin, in the parent's font.
#pragma once

#include "ColorRef.h"

#include <QLabel>

class CTransparentStatic : public QLabel
{
    Q_OBJECT
public:
    explicit CTransparentStatic(QWidget* parent = nullptr);
    ~CTransparentStatic() override;
};
