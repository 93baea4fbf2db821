#include "workspace/FormPrinter.h"

#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

CFormPrinter::CFormPrinter() = default;

CFormPrinter::~CFormPrinter() = default;

QPrinter *CFormPrinter::Printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>();
    return m_printer.get();
}

bool CFormPrinter::PageSetup(QWidget *parent)
{
    QPageSetupDialog dialog(Printer(), parent);
    return dialog.exec() == QDialog::Accepted;
}

bool CFormPrinter::Print(QWidget *parent)
{
    QPrintDialog dialog(Printer(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    QPainter painter(Printer());
    return true;
}

void CFormPrinter::Preview(QWidget *parent)
{
    QPrintPreviewDialog preview(Printer(), parent);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [](QPrinter *printer) { QPainter painter(printer); });
    preview.exec();
}
