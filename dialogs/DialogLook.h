// The look the program's secondary dialogs share: flat push buttons, and group boxes
// framed the way the platform draws them.
#pragma once

class QGroupBox;
class QPushButton;

// A one-pixel frame round a plain face, sunk while pressed.
void UseFlatButtonLook(QPushButton& button);
// The frame runs through the middle of the caption, not below it.
void UseGroupBoxLook(QGroupBox& group);
