#include "enginemanager/AddEngineDlg.h"

#include <QComboBox>

#include "catalogue/CatalogDocument.h"
#include "catalogue/CatalogEditor.h"
#include "catalogue/CatalogTokenizer.h"
#include "enginemanager/EngineEditorDlg.h"
#include "platform/MessageBox.h"

namespace
{
QComboBox *ChoiceOf(const QStringList &names, const QString &chosen, const QString &accessibleName)
{
    auto *choice = new QComboBox;
    choice->setAccessibleName(accessibleName);
    choice->addItems(names);
    for (int i = 0; i < names.size(); ++i) {
        if (SameCatalogName(names.at(i), chosen))
            choice->setCurrentIndex(i);
    }
    return choice;
}
} // namespace

bool AddEngineInEditor(const SEngineDescription &engine, const QString &language, const QString &category,
                       const QString &catalogInUse, const QString &userCatalog, QWidget *parent)
{
    CCatalogDocument document;
    QString reason;
    if (!document.Load(catalogInUse, &reason)) {
        AfxMessageBox(QStringLiteral("No engine can be added to %1: %2.").arg(catalogInUse, reason), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    CCatalogEditor editor(document);
    QComboBox *languages = ChoiceOf(editor.Languages(), language, QStringLiteral("Language"));
    QComboBox *categories = ChoiceOf(editor.Categories(languages->currentIndex()), category, QStringLiteral("Category"));

    const auto check = [&editor](const SEngineDescription &values) {
        return editor.EngineFaults(editor.NewSectionName(values.strName), values);
    };
    const QByteArray original = document.Bytes();
    const auto apply = [&](const SEngineDescription &values) {
        if (QString refusal = editor.AddEngine(languages->currentIndex(), categories->currentIndex(), values); !refusal.isEmpty())
            return refusal;
        QString failure;
        if (document.Save(userCatalog, &failure))
            return QString();
        // Unsaved, the engine is not added: another OK tries afresh.
        document.SetBytes(original);
        return QStringLiteral("%1 cannot be written: %2").arg(userCatalog, failure);
    };
    CEngineEditorDlg dialog(QStringLiteral("Add This Engine"), engine, check, apply, parent);
    dialog.AddLeadingRow(QStringLiteral("&Language:"), languages);
    dialog.AddLeadingRow(QStringLiteral("Ca&tegory:"), categories);
    QObject::connect(languages, &QComboBox::currentIndexChanged, categories, [&editor, languages, categories] {
        categories->clear();
        categories->addItems(editor.Categories(languages->currentIndex()));
    });
    return dialog.exec() == QDialog::Accepted;
}
