#pragma once

#include <QString>
#include <QStringList>

#include "catalogue/CatalogPlace.h"
#include "catalogue/EngineDescription.h"

class CCatalogDocument;

// The catalogue's four levels in a document, as the engine manager changes
// them: the languages ([LANGUAGES] Languages=), the categories of each
// language ([CATEGORYS] <language>=), the engines of each category
// ([<language>] <category>=) and each engine's section. An engine section may
// be listed in several categories.
//
// Every change reads back as it is meant: a change whose list would grow
// beyond what the reader reads, whose values the reader would cut or the
// checker find at fault, whose name the format cannot hold or that repeats a
// name the same list holds, is refused with the reason, and nothing changes.
class CCatalogEditor final
{
public:
    explicit CCatalogEditor(CCatalogDocument &document);
    Q_DISABLE_COPY_MOVE(CCatalogEditor)

    QStringList Languages() const;
    QStringList Categories(int language) const;
    QStringList Engines(int language, int category) const;
    // The items of the list that holds `place`'s item.
    QStringList Siblings(const SCatalogPlace &place) const;
    // The engine's section as the program reads it.
    SEngineDescription Engine(const QString &section) const;
    // The section of the engine at `place`; empty above the engine level.
    QString SectionAt(const SCatalogPlace &place) const;
    // Every engine section listed in some category, each once, in catalogue order.
    QStringList ListedEngines() const;
    // The section a new engine of that name gets: made from the name's
    // letters and digits, short, and unlike every section and language.
    QString NewSectionName(const QString &name) const;

    // Every fault the values would have in `section`, in the checker's words.
    QStringList EngineFaults(const QString &section, const SEngineDescription &engine) const;

    // Each change returns why it was refused; empty when it was made.
    QString AddLanguage(const QString &name);
    QString AddCategory(int language, const QString &name);
    // A new section for `engine`, listed at the end of the category;
    // `section` receives its name.
    QString AddEngine(int language, int category, const SEngineDescription &engine, QString *section = nullptr);
    // Lists an engine section that exists at the end of a category.
    QString ListEngine(int language, int category, const QString &section);
    // Writes the engine's values into its section. Encoding, Method and
    // PostData are written only where they say something (an encoding,
    // POST), and removed where they would not.
    QString SetEngine(const QString &section, const SEngineDescription &engine);
    // A language's or a category's new name; an engine's is its Name.
    QString Rename(const SCatalogPlace &place, const QString &name);
    // Takes the item out of its list. A category or language goes with its
    // lists; an engine section no longer listed anywhere goes with it.
    QString Remove(const SCatalogPlace &place);
    // Moves the item to position `to` of its list.
    QString Move(const SCatalogPlace &place, int to);
    // Moves an engine to position `to` of another category; with `keep` it
    // stays listed where it was, too.
    QString MoveEngine(const SCatalogPlace &from, const SCatalogPlace &category, int to, bool keep);

private:
    struct SList
    {
        QString strSection;
        QString strKey;
        QString strWhat; // how messages name the list
    };
    // The list whose items are `owner`'s children: the languages under no
    // owner; empty when there is no such list.
    SList ListIn(const SCatalogPlace &owner) const;
    QStringList Items(const SList &list) const;
    QString CheckLength(const SList &list, const QStringList &items) const;
    QString WriteItems(const SList &list, const QStringList &items);
    QString CategoryWhere(const SCatalogPlace &category) const;
    QString CheckListName(const QStringList &others, const QString &name, const QString &what) const;
    // A name the category would show twice.
    QString CheckEngineInCategory(const SCatalogPlace &category, const QString &section, const QString &name) const;
    QString RenameLanguage(const SCatalogPlace &place, const QString &name);
    QString RenameCategory(const SCatalogPlace &place, const QString &name);
    void WriteEngine(const QString &section, const SEngineDescription &engine);
    void RemoveUnlisted(const QStringList &sections);

    CCatalogDocument &m_document;
};
