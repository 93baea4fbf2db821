#include "enginemanager/EngineEditorDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "catalogue/EngineEncoding.h"
#include "enginemanager/DialogParts.h"
#include "platform/DialogUnits.h"

namespace
{
QLineEdit *AddEdit(QFormLayout *form, const QString &label, const QString &name, const QString &text)
{
    auto *edit = new QLineEdit(text);
    edit->setAccessibleName(name);
    form->addRow(label, edit);
    return edit;
}

QComboBox *AddChoice(QFormLayout *form, const QString &label, const QString &name, const QStringList &items)
{
    auto *choice = new QComboBox;
    choice->addItems(items);
    choice->setAccessibleName(name);
    form->addRow(label, choice);
    return choice;
}
} // namespace

CEngineEditorDlg::CEngineEditorDlg(const QString &title, const SEngineDescription &engine, Check check, Apply apply,
                                   QWidget *parent)
    : QDialog(parent)
    , m_check(std::move(check))
    , m_apply(std::move(apply))
    , m_strEncoding(engine.strEncoding)
{
    setFont(DialogFont());
    setWindowTitle(title);
    setMinimumWidth(DluToPixelsX(320, font()));

    auto *form = m_form = new QFormLayout;
    m_editName = AddEdit(form, QStringLiteral("&Name:"), QStringLiteral("Name"), engine.strName);
    m_editUrl = AddEdit(form, QStringLiteral("&URL template:"), QStringLiteral("URL template"), engine.strUrl);
    m_editUrl->setToolTip(QStringLiteral("Every \"*\" becomes the keywords"));
    // The section's charset under its canonical name; one the program cannot
    // send keywords in is offered as it is written, for the check to name.
    QStringList encodings = UsualEncodings();
    const QString canonical = IsUtf8Encoding(m_strEncoding) ? encodings.constFirst() : CanonicalEncodingName(m_strEncoding);
    const QString shown = canonical.isEmpty() ? m_strEncoding : canonical;
    if (!encodings.contains(shown))
        encodings.append(shown);
    m_cboEncoding = AddChoice(form, QStringLiteral("En&coding:"), QStringLiteral("Encoding"), encodings);
    m_nEncoding = int(encodings.indexOf(shown));
    m_cboEncoding->setCurrentIndex(m_nEncoding);
    m_cboMethod = AddChoice(form, QStringLiteral("&Method:"), QStringLiteral("Method"),
                            {EngineMethodName(EEngineMethod::Get), EngineMethodName(EEngineMethod::Post)});
    m_cboMethod->setCurrentIndex(engine.eMethod == EEngineMethod::Post ? 1 : 0);
    m_editPostData = AddEdit(form, QStringLiteral("&POST data:"), QStringLiteral("POST data"), engine.strPostData);
    m_editPostData->setToolTip(QStringLiteral("The form's body; every \"*\" becomes the keywords"));

    m_lblFaults = CreateFaultsLabel();
    QDialogButtonBox *buttons = CreateOkCancel(this, m_btnOk);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_lblFaults);
    layout->addStretch();
    layout->addWidget(buttons);

    for (QLineEdit *edit : {m_editName, m_editUrl, m_editPostData})
        connect(edit, &QLineEdit::textChanged, this, [this] { Recheck(); });
    for (QComboBox *choice : {m_cboEncoding, m_cboMethod})
        connect(choice, &QComboBox::currentIndexChanged, this, [this] { Recheck(); });
    Recheck();
}

CEngineEditorDlg::~CEngineEditorDlg() = default;

SEngineDescription CEngineEditorDlg::Engine() const
{
    SEngineDescription engine;
    engine.strName = m_editName->text();
    engine.strUrl = m_editUrl->text();
    // The section's own spelling stays while its charset is chosen; UTF-8
    // needs no key.
    const QString encoding = m_cboEncoding->currentIndex() == m_nEncoding ? m_strEncoding : m_cboEncoding->currentText();
    if (!IsUtf8Encoding(encoding) || encoding == m_strEncoding)
        engine.strEncoding = encoding;
    engine.eMethod = m_cboMethod->currentIndex() == 1 ? EEngineMethod::Post : EEngineMethod::Get;
    if (engine.eMethod == EEngineMethod::Post)
        engine.strPostData = m_editPostData->text();
    return engine;
}

void CEngineEditorDlg::AddLeadingRow(const QString &label, QWidget *field)
{
    m_form->insertRow(m_nLeadingRows++, label, field);
}

void CEngineEditorDlg::accept()
{
    const QString refused = m_apply(Engine());
    if (refused.isEmpty()) {
        QDialog::accept();
        return;
    }
    ShowFaults(m_lblFaults, m_btnOk, {refused});
}

void CEngineEditorDlg::Recheck()
{
    m_editPostData->setEnabled(m_cboMethod->currentIndex() == 1);
    ShowFaults(m_lblFaults, m_btnOk, m_check(Engine()));
}

