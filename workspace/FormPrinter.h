#pragma once

#include <QtGlobal>

#include <memory>

class QPrinter;
class QWidget;

// The printer of the run. Print Setup, Print and Print Preview all work on
// this one printer, so the paper and orientation chosen in Print Setup apply
// to what is printed and previewed afterwards. The form draws nothing on
// paper: printing yields blank pages once the user has confirmed.
class CFormPrinter final
{
public:
    CFormPrinter();
    ~CFormPrinter();
    Q_DISABLE_COPY_MOVE(CFormPrinter)

    // The page setup dialog; the printer keeps what the user confirms.
    bool PageSetup(QWidget *parent);
    // The print dialog, then blank pages if the user confirms it.
    bool Print(QWidget *parent);
    // The print preview of the same blank pages.
    void Preview(QWidget *parent);

    // Made on first use: asking the system for its printers takes a while.
    QPrinter *Printer();

private:
    std::unique_ptr<QPrinter> m_printer;
};
