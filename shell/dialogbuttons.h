#pragma once

class QDialog;
class QHBoxLayout;
class QPushButton;

// The OK and Cancel row of a settings dialog: OK is the default button and accepts, Cancel
// rejects.
QHBoxLayout *okcancelrow(QDialog *dialog, QPushButton *ok, QPushButton *cancel);
