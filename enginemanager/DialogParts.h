#pragma once

#include <QStringList>

class QDialog;
class QDialogButtonBox;
class QLabel;
class QPushButton;

// What the engine manager's dialogs share.

// The label that lists faults, one a line; hidden while there are none.
QLabel *CreateFaultsLabel();
// Shows `faults` in the label; OK is offered only without any.
void ShowFaults(QLabel *label, QPushButton *ok, const QStringList &faults);

// OK and Cancel, wired to the dialog's accept and reject; `ok` receives OK.
QDialogButtonBox *CreateOkCancel(QDialog *dialog, QPushButton *&ok);
