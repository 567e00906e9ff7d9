#include "CFlatComboBox.h"

CFlatComboBox::CFlatComboBox(QWidget* parent) : QComboBox(parent) {}

CFlatComboBox::~CFlatComboBox() = default;
