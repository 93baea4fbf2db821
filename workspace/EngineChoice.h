#pragma once

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>

class QMenu;
class QTableWidget;
class QTableWidgetItem;

// Which engines of the category loaded a search asks: those whose row of
// the engine list is ticked. The ticks are kept per language and category in
// section "EngineChoice" of the profile, each under the engine's section name
// in the catalogue (so editing or reordering the catalogue does not shift
// them), as 1 or 0; every change of the user's is saved in one batch. With
// nothing stored every engine is ticked. The list's context menu offers
// "Tick all" and "Untick all".
class CEngineChoice final : public QObject
{
    Q_OBJECT

public:
    explicit CEngineChoice(QTableWidget *list, QObject *parent = nullptr);
    ~CEngineChoice() override;
    Q_DISABLE_COPY_MOVE(CEngineChoice)

    // The rows are about to be rebuilt: their changes are not the user's.
    void Clear();
    // The rows of `category` of `language` are built, row i for the engine of
    // section `sections[i]`: the stored ticks apply to the rows made ticked.
    void Load(const QString &language, const QString &category, const QStringList &sections);

    // The rows left unticked.
    QSet<int> NotAsked() const;
    // False, after telling the user, when there are engines and none is ticked.
    bool ConfirmAnyChosen() const;
    // Ticks or unticks every row and saves.
    void TickAll(bool ticked);

    QMenu *ContextMenu() const;

    static QString EntryOf(const QString &language, const QString &category, const QString &section);

private:
    void OnItemChanged(QTableWidgetItem *item);
    void Save() const;

    QPointer<QTableWidget> m_list;
    QMenu *m_menu;
    QString m_strLanguage;
    QString m_strCategory;
    QStringList m_arrSections;
    bool m_bLoaded = false;
};
