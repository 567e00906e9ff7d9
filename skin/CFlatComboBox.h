// A drop-down list that paints a flat frame, hot while hovered or focused.
#pragma once

#include <QComboBox>

class CFlatComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit CFlatComboBox(QWidget* parent = nullptr);
    ~CFlatComboBox() override;
};
