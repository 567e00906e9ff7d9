// Black text on a white box: the output folder display.
#pragma once

#include <QLineEdit>

class CWhiteEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit CWhiteEdit(QWidget* parent = nullptr);
    ~CWhiteEdit() override;
};
