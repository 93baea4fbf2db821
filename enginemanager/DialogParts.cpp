#include "enginemanager/DialogParts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>

QLabel *CreateFaultsLabel()
{
    auto *label = new QLabel;
    label->setAccessibleName(QStringLiteral("Problems"));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    label->hide();
    return label;
}

void ShowFaults(QLabel *label, QPushButton *ok, const QStringList &faults)
{
    label->setText(faults.join(u'\n'));
    label->setVisible(!faults.isEmpty());
    ok->setEnabled(faults.isEmpty());
}

QDialogButtonBox *CreateOkCancel(QDialog *dialog, QPushButton *&ok)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    ok = buttons->button(QDialogButtonBox::Ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}
