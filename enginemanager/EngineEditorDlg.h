#pragma once

#include <QDialog>

#include <functional>

#include "catalogue/EngineDescription.h"

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;

// The engine editor: the engine's Name, its URL template ("*" where the
// keywords go), the encoding its keywords are sent in, and its method, GET
// or POST with the POST data template. The values are checked as they are
// typed and the faults shown; there is no OK while there is one. OK hands
// the values to `apply`, which writes them or says why it would not; after
// a refusal the editor stays open with the reason.
class CEngineEditorDlg final : public QDialog
{
    Q_OBJECT

public:
    using Check = std::function<QStringList(const SEngineDescription &)>;
    using Apply = std::function<QString(const SEngineDescription &)>;

    CEngineEditorDlg(const QString &title, const SEngineDescription &engine, Check check, Apply apply,
                     QWidget *parent = nullptr);
    ~CEngineEditorDlg() override;
    Q_DISABLE_COPY_MOVE(CEngineEditorDlg)

    // The values as they stand.
    SEngineDescription Engine() const;
    // Puts `field` with its label before the editor's own fields, after any
    // put there before.
    void AddLeadingRow(const QString &label, QWidget *field);

public slots:
    void accept() override;

private:
    void Recheck();

    QFormLayout *m_form = nullptr;
    int m_nLeadingRows = 0;
    Check m_check;
    Apply m_apply;
    QString m_strEncoding; // as the engine's section spells it
    int m_nEncoding = 0; // its place in the list
    QLineEdit *m_editName = nullptr;
    QLineEdit *m_editUrl = nullptr;
    QComboBox *m_cboEncoding = nullptr;
    QComboBox *m_cboMethod = nullptr;
    QLineEdit *m_editPostData = nullptr;
    QLabel *m_lblFaults = nullptr;
    QPushButton *m_btnOk = nullptr;
};
