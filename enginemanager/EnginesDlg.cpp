#include "enginemanager/EnginesDlg.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "catalogue/CatalogChecker.h"
#include "catalogue/CatalogFile.h"
#include "catalogue/OpenSearch.h"
#include "catalogue/TextCut.h"
#include "enginemanager/CatalogTree.h"
#include "enginemanager/DialogParts.h"
#include "enginemanager/EngineEditorDlg.h"
#include "platform/DialogUnits.h"
#include "platform/MessageBox.h"

namespace
{
using ELevel = SCatalogPlace::ELevel;

// The faults of a catalogue's bytes, in the checker's words.
QStringList FaultsOf(const QByteArray &bytes)
{
    CCatalogChecker checker{QString()};
    checker.CheckBytes(bytes);
    QStringList faults;
    for (const SCatalogProblem &problem : checker.Problems())
        faults.append(problem.strMessage);
    return faults;
}

// A fault as a box says it: a sentence.
QString Sentence(const QString &fault)
{
    return fault.left(1).toUpper() + fault.mid(1) + u'.';
}

void Refuse(const QString &fault)
{
    AfxMessageBox(Sentence(fault), MB_OK | MB_ICONEXCLAMATION);
}
} // namespace

CEnginesDlg::CEnginesDlg(const QString &catalogInUse, const QString &userCatalog, QWidget *parent)
    : QDialog(parent)
    , m_strUserCatalog(userCatalog)
    , m_editor(m_document)
{
    setFont(DialogFont());
    setWindowTitle(QStringLiteral("Engines"));
    if (m_document.Load(catalogInUse, &m_strLoadFailure)) {
        m_original = m_document.Bytes();
        m_originalFaults = FaultsOf(m_original);
    }

    m_tree = new CCatalogTree;
    m_tree->setAccessibleName(QStringLiteral("Catalogue"));
    m_tree->setMinimumSize(DluToPixelsX(200, font()), DluToPixelsY(220, font()));
    m_tree->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *caption = new QLabel(QStringLiteral("Ca&talogue: languages, their categories and the engines of each"));
    caption->setBuddy(m_tree);
    m_lblFaults = CreateFaultsLabel();
    QDialogButtonBox *buttons = CreateOkCancel(this, m_btnOk);

    auto *middle = new QHBoxLayout;
    middle->addWidget(m_tree, 1);
    middle->addLayout(CreateCommands());
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addLayout(middle, 1);
    layout->addWidget(m_lblFaults);
    layout->addWidget(buttons);

    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this] { UpdateCommands(); });
    connect(m_tree, &CCatalogTree::DropRequested, this, &CEnginesDlg::OnDrop);
    Refresh({0, -1, -1});
    m_tree->setFocus();
}

CEnginesDlg::~CEnginesDlg() = default;

bool CEnginesDlg::IsLoaded(QString *reason) const
{
    if (reason)
        *reason = m_strLoadFailure;
    return m_strLoadFailure.isEmpty();
}

bool CEnginesDlg::IsSaved() const
{
    return m_bSaved;
}

void CEnginesDlg::accept()
{
    if (m_document.Bytes() != m_original) {
        QString reason;
        if (!m_document.Save(m_strUserCatalog, &reason)) {
            AfxMessageBox(QStringLiteral("Your engines cannot be saved in %1: %2.").arg(m_strUserCatalog, reason),
                          MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        m_bSaved = true;
    }
    QDialog::accept();
}

// Each command is a button, an action of the tree's context menu and, for
// some, a key of the tree.
QVBoxLayout *CEnginesDlg::CreateCommands()
{
    auto *commands = new QVBoxLayout;
    const auto add = [this, commands](const QString &text, const QKeySequence &key, void (CEnginesDlg::*handler)()) {
        auto *action = new QAction(text, m_tree);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, handler);
        m_tree->addAction(action);
        auto *button = new QPushButton(text);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        connect(action, &QAction::changed, button, [button, action] { button->setEnabled(action->isEnabled()); });
        commands->addWidget(button);
        return action;
    };
    add(QStringLiteral("Add &Language..."), {}, &CEnginesDlg::OnAddLanguage);
    m_actAddCategory = add(QStringLiteral("Add &Category..."), {}, &CEnginesDlg::OnAddCategory);
    m_actAddEngine = add(QStringLiteral("Add &Engine..."), {}, &CEnginesDlg::OnAddEngine);
    m_actAddExisting = add(QStringLiteral("Add E&xisting Engine..."), {}, &CEnginesDlg::OnAddExisting);
    m_actImport = add(QStringLiteral("Import from &File..."), {}, &CEnginesDlg::OnImport);
    m_actEdit = add(QStringLiteral("Ed&it..."), QKeySequence(Qt::Key_F2), &CEnginesDlg::OnEdit);
    m_actRemove = add(QStringLiteral("Re&move"), QKeySequence::Delete, &CEnginesDlg::OnRemove);
    m_actMoveUp = add(QStringLiteral("Move &Up"), QKeySequence(Qt::CTRL | Qt::Key_Up), &CEnginesDlg::OnMoveUp);
    m_actMoveDown = add(QStringLiteral("Move &Down"), QKeySequence(Qt::CTRL | Qt::Key_Down), &CEnginesDlg::OnMoveDown);
    commands->addStretch();
    return commands;
}

void CEnginesDlg::OnAddLanguage()
{
    AskName(QStringLiteral("Add Language"), {}, [this](const QString &name) {
        const QString refusal = m_editor.AddLanguage(name);
        return Changed(refusal, {int(m_editor.Languages().size()) - 1, -1, -1});
    });
}

void CEnginesDlg::OnAddCategory()
{
    const int language = m_tree->CurrentPlace().nLanguage;
    AskName(QStringLiteral("Add Category"), {}, [this, language](const QString &name) {
        const QString refusal = m_editor.AddCategory(language, name);
        return Changed(refusal, {language, int(m_editor.Categories(language).size()) - 1, -1});
    });
}

void CEnginesDlg::OnAddEngine()
{
    AddEngine({});
}

void CEnginesDlg::OnImport()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Import Engine"), {},
                                                      QStringLiteral("Search engine descriptions (*.xml);;All files (*)"));
    m_tree->setFocus();
    if (path.isEmpty())
        return;
    SEngineDescription engine;
    QString error;
    if (ReadOpenSearchFile(path, engine, error) != EOpenSearchRead::Read) {
        Refuse(QStringLiteral("the engine of %1 cannot be imported: %2").arg(path, error));
        return;
    }
    AddEngine(engine);
}

void CEnginesDlg::AddEngine(const SEngineDescription &values)
{
    const SCatalogPlace place = m_tree->CurrentPlace();
    EditEngine(QStringLiteral("Add Engine"), {}, values, [this, place](const SEngineDescription &engine) {
        const QString refusal = m_editor.AddEngine(place.nLanguage, place.nCategory, engine);
        return Changed(refusal, {place.nLanguage, place.nCategory,
                                 int(m_editor.Engines(place.nLanguage, place.nCategory).size()) - 1});
    });
}

void CEnginesDlg::OnAddExisting()
{
    const SCatalogPlace place = m_tree->CurrentPlace();
    const QStringList listedHere = m_editor.Engines(place.nLanguage, place.nCategory);
    QStringList sections;
    QStringList choices;
    for (const QString &section : m_editor.ListedEngines()) {
        if (listedHere.contains(section, Qt::CaseInsensitive))
            continue;
        sections.append(section);
        choices.append(QStringLiteral("%1 [%2]").arg(CutToLength(m_editor.Engine(section).strName, kCatalogNameCapacity - 1),
                                                     section));
    }
    if (choices.isEmpty()) {
        Refuse(QStringLiteral("every engine of the catalogue is listed in this category already"));
        return;
    }
    bool chosen = false;
    const QString choice = QInputDialog::getItem(this, QStringLiteral("Add Existing Engine"),
                                                 QStringLiteral("&Engine to list in this category too:"), choices, 0,
                                                 false, &chosen);
    m_tree->setFocus();
    if (!chosen || choices.indexOf(choice) < 0)
        return;
    const QString refusal = m_editor.ListEngine(place.nLanguage, place.nCategory, sections.at(choices.indexOf(choice)));
    ChangedOrRefused(refusal, {place.nLanguage, place.nCategory,
                               int(m_editor.Engines(place.nLanguage, place.nCategory).size()) - 1});
}

void CEnginesDlg::OnEdit()
{
    const SCatalogPlace place = m_tree->CurrentPlace();
    if (place.Level() == ELevel::Engine) {
        const QString section = m_editor.SectionAt(place);
        EditEngine(QStringLiteral("Edit Engine"), section, m_editor.Engine(section),
                   [this, place, section](const SEngineDescription &engine) {
                       return Changed(m_editor.SetEngine(section, engine), place);
                   });
        return;
    }
    const QString title = place.Level() == ELevel::Language ? QStringLiteral("Rename Language") : QStringLiteral("Rename Category");
    AskName(title, m_editor.Siblings(place).value(place.Index()),
            [this, place](const QString &name) { return Changed(m_editor.Rename(place, name), place); });
}

void CEnginesDlg::OnRemove()
{
    const SCatalogPlace place = m_tree->CurrentPlace();
    if (place.Level() == ELevel::None)
        return;
    const QString refusal = m_editor.Remove(place);
    // The item that took its place, else the one before, else its owner.
    const int left = int(m_editor.Siblings(place).size());
    const SCatalogPlace next = left == 0 ? place.Parent() : place.WithIndex(std::min(place.Index(), left - 1));
    ChangedOrRefused(refusal, next);
}

void CEnginesDlg::OnMoveUp()
{
    const SCatalogPlace place = m_tree->CurrentPlace();
    if (place.Index() > 0)
        ChangedOrRefused(m_editor.Move(place, place.Index() - 1), place.WithIndex(place.Index() - 1));
}

void CEnginesDlg::OnMoveDown()
{
    const SCatalogPlace place = m_tree->CurrentPlace();
    if (place.Level() != ELevel::None && place.Index() + 1 < m_editor.Siblings(place).size())
        ChangedOrRefused(m_editor.Move(place, place.Index() + 1), place.WithIndex(place.Index() + 1));
}

void CEnginesDlg::OnDrop(const SCatalogPlace &from, const SCatalogPlace &owner, int before, bool copy)
{
    if (owner == from.Parent()) {
        // Taking the item out first shifts the later ones up.
        const int to = before > from.Index() ? before - 1 : before;
        ChangedOrRefused(m_editor.Move(from, to), from.WithIndex(to));
        return;
    }
    ChangedOrRefused(m_editor.MoveEngine(from, owner, before, copy), {owner.nLanguage, owner.nCategory, before});
}

void CEnginesDlg::AskName(const QString &title, const QString &name, const std::function<QString(const QString &)> &change)
{
    QString text = name;
    for (;;) {
        bool given = false;
        text = QInputDialog::getText(this, title, QStringLiteral("&Name:"), QLineEdit::Normal, text, &given).trimmed();
        m_tree->setFocus();
        if (!given)
            return;
        const QString refusal = change(text);
        if (refusal.isEmpty())
            return;
        Refuse(refusal);
    }
}

void CEnginesDlg::EditEngine(const QString &title, const QString &section, const SEngineDescription &engine,
                             const std::function<QString(const SEngineDescription &)> &apply)
{
    const auto check = [this, section](const SEngineDescription &values) {
        return m_editor.EngineFaults(section.isEmpty() ? m_editor.NewSectionName(values.strName) : section, values);
    };
    CEngineEditorDlg editor(title, engine, check, apply, this);
    editor.exec();
    m_tree->setFocus();
}

QString CEnginesDlg::Changed(const QString &refusal, const SCatalogPlace &select)
{
    if (refusal.isEmpty())
        Refresh(select);
    return refusal;
}

void CEnginesDlg::ChangedOrRefused(const QString &refusal, const SCatalogPlace &select)
{
    if (!Changed(refusal, select).isEmpty())
        Refuse(refusal);
}

void CEnginesDlg::Refresh(const SCatalogPlace &select)
{
    m_tree->Fill(m_editor, select);
    QStringList faults = FaultsOf(m_document.Bytes());
    for (const QString &fault : std::as_const(m_originalFaults))
        faults.removeOne(fault);
    // A catalogue that could not be read is never written over.
    if (!m_strLoadFailure.isEmpty())
        faults = QStringList{m_strLoadFailure};
    ShowFaults(m_lblFaults, m_btnOk, faults);
    UpdateCommands();
}

void CEnginesDlg::UpdateCommands()
{
    const ELevel level = m_tree->CurrentPlace().Level();
    m_actAddCategory->setEnabled(level != ELevel::None);
    for (QAction *action : {m_actAddEngine, m_actAddExisting, m_actImport})
        action->setEnabled(level == ELevel::Category || level == ELevel::Engine);
    for (QAction *action : {m_actEdit, m_actRemove, m_actMoveUp, m_actMoveDown})
        action->setEnabled(level != ELevel::None);
}
