#pragma once

#include <QDialog>

#include <functional>

#include "catalogue/CatalogDocument.h"
#include "catalogue/CatalogEditor.h"

class CCatalogTree;
class QAction;
class QLabel;
class QPushButton;
class QVBoxLayout;

// The engine manager: the catalogue as a tree of languages, categories and
// engines, with adding, renaming (for an engine: editing), removing and
// moving at every level, by buttons, keys (Delete, F2, Ctrl+Up, Ctrl+Down),
// the tree's context menu and drag and drop.
//
// The dialog edits the catalogue in use, read when it opens. OK writes it,
// with the lines nobody changed as they were, to the user's catalogue (so
// the first change copies the catalogue there), unless nothing changed. The
// catalogue's faults that the changes brought, in the checker's words, are
// shown as they arise, and there is no OK while there is one.
class CEnginesDlg final : public QDialog
{
    Q_OBJECT

public:
    CEnginesDlg(const QString &catalogInUse, const QString &userCatalog, QWidget *parent = nullptr);
    ~CEnginesDlg() override;
    Q_DISABLE_COPY_MOVE(CEnginesDlg)

    // False, with the reason, when the catalogue in use cannot be edited.
    bool IsLoaded(QString *reason) const;
    // True once OK has written the user's catalogue.
    bool IsSaved() const;

public slots:
    // Writes the user's catalogue when something changed; stays open when
    // that fails.
    void accept() override;

private:
    QVBoxLayout *CreateCommands();
    void OnAddLanguage();
    void OnAddCategory();
    void OnAddEngine();
    void OnAddExisting();
    // An engine from an OpenSearch description or a Mozilla search plugin.
    void OnImport();
    // The editor on `values`; OK adds the engine to the category selected.
    void AddEngine(const SEngineDescription &values);
    void OnEdit();
    void OnRemove();
    void OnMoveUp();
    void OnMoveDown();
    void OnDrop(const SCatalogPlace &from, const SCatalogPlace &owner, int before, bool copy);

    // Asks for a name until one is taken by `change` or the question is cancelled.
    void AskName(const QString &title, const QString &name, const std::function<QString(const QString &)> &change);
    void EditEngine(const QString &title, const QString &section, const SEngineDescription &engine,
                    const std::function<QString(const SEngineDescription &)> &apply);
    // Shows the catalogue after a change with `select` selected, unless the
    // change was refused; returns the refusal. The second says it in a box.
    QString Changed(const QString &refusal, const SCatalogPlace &select);
    void ChangedOrRefused(const QString &refusal, const SCatalogPlace &select);
    void Refresh(const SCatalogPlace &select);
    void UpdateCommands();

    QString m_strUserCatalog;
    QString m_strLoadFailure;
    CCatalogDocument m_document;
    CCatalogEditor m_editor;
    QByteArray m_original;
    QStringList m_originalFaults;
    bool m_bSaved = false;

    CCatalogTree *m_tree = nullptr;
    QLabel *m_lblFaults = nullptr;
    QPushButton *m_btnOk = nullptr;
    QAction *m_actAddCategory = nullptr;
    QAction *m_actAddEngine = nullptr;
    QAction *m_actAddExisting = nullptr;
    QAction *m_actImport = nullptr;
    QAction *m_actEdit = nullptr;
    QAction *m_actRemove = nullptr;
    QAction *m_actMoveUp = nullptr;
    QAction *m_actMoveDown = nullptr;
};
