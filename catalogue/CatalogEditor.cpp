#include "catalogue/CatalogEditor.h"

#include <algorithm>

#include "catalogue/CatalogChecker.h"
#include "catalogue/CatalogDocument.h"
#include "catalogue/CatalogFile.h"
#include "catalogue/CatalogNames.h"
#include "catalogue/CatalogTokenizer.h"
#include "catalogue/TextCut.h"

using namespace CatalogNames;

namespace
{
// New sections are named by at most this many characters of the engine's
// name, and a number where that is taken.
constexpr qsizetype kSectionNameLength = 24;

QString shownName(const QString &name)
{
    return CutToLength(name, kCatalogNameCapacity - 1);
}

bool containsName(const QStringList &names, const QString &name)
{
    return std::any_of(names.begin(), names.end(), [&name](const QString &other) { return SameCatalogName(other, name); });
}

bool holdsLineBreak(const QString &value)
{
    return value.contains(u'\n') || value.contains(u'\r') || value.contains(QChar(u'\0'));
}

// Why a language or category cannot be called `name`: it names a key and,
// for a language, a section too, and stands in a list.
QString nameFault(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("a name cannot be empty");
    if (name.trimmed() != name)
        return QStringLiteral("a name cannot begin or end with a blank");
    for (const QChar c : name) {
        if (c == u';' || c == u'=' || c == u'[' || c == u']' || c.category() == QChar::Other_Control)
            return QStringLiteral("a name cannot hold \";\", \"=\", \"[\", \"]\" or a line break");
    }
    return {};
}
} // namespace

CCatalogEditor::CCatalogEditor(CCatalogDocument &document)
    : m_document(document)
{
}

QStringList CCatalogEditor::Languages() const
{
    return Items(ListIn({}));
}

QStringList CCatalogEditor::Categories(int language) const
{
    return Items(ListIn({language, -1, -1}));
}

QStringList CCatalogEditor::Engines(int language, int category) const
{
    return Items(ListIn({language, category, -1}));
}

QStringList CCatalogEditor::Siblings(const SCatalogPlace &place) const
{
    return Items(ListIn(place.Parent()));
}

SEngineDescription CCatalogEditor::Engine(const QString &section) const
{
    SEngineDescription engine;
    engine.strName = m_document.Value(section, kNameKey).value_or(QString());
    engine.strUrl = m_document.Value(section, kUrlKey).value_or(QString());
    engine.strEncoding = m_document.Value(section, kEncodingKey).value_or(QString());
    engine.eMethod = ParseEngineMethod(m_document.Value(section, kMethodKey).value_or(QString())).value_or(EEngineMethod::Get);
    engine.strPostData = m_document.Value(section, kPostDataKey).value_or(QString());
    return engine;
}

QString CCatalogEditor::SectionAt(const SCatalogPlace &place) const
{
    return place.Level() == SCatalogPlace::ELevel::Engine ? Siblings(place).value(place.nEngine) : QString();
}

QStringList CCatalogEditor::ListedEngines() const
{
    QStringList listed;
    const QStringList languages = Languages();
    for (int language = 0; language < languages.size(); ++language) {
        const qsizetype categories = Categories(language).size();
        for (int category = 0; category < categories; ++category) {
            for (const QString &engine : Engines(language, category)) {
                if (!containsName(listed, engine))
                    listed.append(engine);
            }
        }
    }
    return listed;
}

QString CCatalogEditor::NewSectionName(const QString &name) const
{
    QString base;
    for (const QChar c : name) {
        if (c.isLetterOrNumber() || c == u'.' || c == u'-' || c == u'_')
            base += c;
    }
    base = CutToLength(base, kSectionNameLength);
    if (base.isEmpty())
        base = QStringLiteral("Engine");
    const QStringList taken = m_document.Sections() + Languages() + ListedEngines()
                              + QStringList{kLanguagesSection, kCategoriesSection};
    QString section = base;
    for (int number = 2; containsName(taken, section); ++number)
        section = base + QString::number(number);
    return section;
}

QString CCatalogEditor::AddLanguage(const QString &name)
{
    const QStringList languages = Languages();
    if (QString fault = CheckListName(languages, name, QStringLiteral("language")); !fault.isEmpty())
        return fault;
    if (m_document.HasSection(name))
        return QStringLiteral("the catalogue has a section [%1] already, and a language needs its own").arg(name);
    return WriteItems(ListIn({}), languages + QStringList{name});
}

QString CCatalogEditor::AddCategory(int language, const QString &name)
{
    const SList list = ListIn({language, -1, -1});
    const QStringList categories = Items(list);
    if (QString fault = CheckListName(categories, name, QStringLiteral("category")); !fault.isEmpty())
        return fault;
    return WriteItems(list, categories + QStringList{name});
}

QString CCatalogEditor::AddEngine(int language, int category, const SEngineDescription &engine, QString *section)
{
    const SCatalogPlace place{language, category, -1};
    const QString name = NewSectionName(engine.strName);
    if (const QStringList faults = EngineFaults(name, engine); !faults.isEmpty())
        return faults.first();
    if (QString fault = CheckEngineInCategory(place, name, engine.strName); !fault.isEmpty())
        return fault;
    if (QString fault = WriteItems(ListIn(place), Engines(language, category) + QStringList{name}); !fault.isEmpty())
        return fault;
    WriteEngine(name, engine);
    if (section)
        *section = name;
    return {};
}

QString CCatalogEditor::ListEngine(int language, int category, const QString &section)
{
    const SCatalogPlace place{language, category, -1};
    const QStringList engines = Engines(language, category);
    if (containsName(engines, section))
        return QStringLiteral("engine %1 is listed in that category already").arg(Quoted(section));
    if (QString fault = CheckEngineInCategory(place, section, Engine(section).strName); !fault.isEmpty())
        return fault;
    return WriteItems(ListIn(place), engines + QStringList{section});
}

QString CCatalogEditor::SetEngine(const QString &section, const SEngineDescription &engine)
{
    if (const QStringList faults = EngineFaults(section, engine); !faults.isEmpty())
        return faults.first();
    const QStringList languages = Languages();
    for (int language = 0; language < languages.size(); ++language) {
        const qsizetype categories = Categories(language).size();
        for (int category = 0; category < categories; ++category) {
            const SCatalogPlace place{language, category, -1};
            if (!containsName(Engines(language, category), section))
                continue;
            if (QString fault = CheckEngineInCategory(place, section, engine.strName); !fault.isEmpty())
                return fault;
        }
    }
    WriteEngine(section, engine);
    return {};
}

QString CCatalogEditor::Rename(const SCatalogPlace &place, const QString &name)
{
    switch (place.Level()) {
    case SCatalogPlace::ELevel::Language:
        return RenameLanguage(place, name);
    case SCatalogPlace::ELevel::Category:
        return RenameCategory(place, name);
    case SCatalogPlace::ELevel::Engine: {
        const QString section = SectionAt(place);
        SEngineDescription engine = Engine(section);
        engine.strName = name;
        return SetEngine(section, engine);
    }
    default:
        return {};
    }
}

QString CCatalogEditor::Remove(const SCatalogPlace &place)
{
    const SList list = ListIn(place.Parent());
    QStringList items = Items(list);
    if (place.Index() < 0 || place.Index() >= items.size())
        return {};
    // The engines the item lists; those no other list holds go with it.
    QStringList engines;
    switch (place.Level()) {
    case SCatalogPlace::ELevel::Engine:
        engines = QStringList{items.at(place.nEngine)};
        break;
    case SCatalogPlace::ELevel::Category:
        engines = Engines(place.nLanguage, place.nCategory);
        break;
    default:
        for (int category = 0; category < Categories(place.nLanguage).size(); ++category)
            engines += Engines(place.nLanguage, category);
        break;
    }
    const QString removed = items.takeAt(place.Index());
    if (QString fault = WriteItems(list, items); !fault.isEmpty())
        return fault;
    // A name the list still holds keeps what belongs to it.
    if (!containsName(items, removed)) {
        if (place.Level() == SCatalogPlace::ELevel::Language) {
            m_document.RemoveKey(kCategoriesSection, removed);
            m_document.RemoveSection(removed);
        } else if (place.Level() == SCatalogPlace::ELevel::Category) {
            m_document.RemoveKey(list.strKey, removed);
        }
    }
    RemoveUnlisted(engines);
    return {};
}

QString CCatalogEditor::Move(const SCatalogPlace &place, int to)
{
    QStringList items = Siblings(place);
    if (place.Index() < 0 || place.Index() >= items.size() || to < 0 || to >= items.size())
        return {};
    items.move(place.Index(), to);
    return WriteItems(ListIn(place.Parent()), items);
}

QString CCatalogEditor::MoveEngine(const SCatalogPlace &from, const SCatalogPlace &category, int to, bool keep)
{
    if (from.Parent() == category)
        return keep ? QString() : Move(from, to);
    const QString section = SectionAt(from);
    const SList target = ListIn(category);
    if (section.isEmpty() || target.strSection.isEmpty())
        return {};
    QStringList engines = Items(target);
    if (containsName(engines, section))
        return QStringLiteral("engine %1 is listed in %2 already").arg(Quoted(section), CategoryWhere(category));
    if (QString fault = CheckEngineInCategory(category, section, Engine(section).strName); !fault.isEmpty())
        return fault;
    engines.insert(std::clamp<qsizetype>(to, 0, engines.size()), section);
    // Both lists are checked before either is written.
    QStringList rest = Siblings(from);
    rest.removeAt(from.nEngine);
    if (QString fault = keep ? QString() : CheckLength(ListIn(from.Parent()), rest); !fault.isEmpty())
        return fault;
    if (QString fault = WriteItems(target, engines); !fault.isEmpty())
        return fault;
    return keep ? QString() : Remove(from);
}

QString CCatalogEditor::CategoryWhere(const SCatalogPlace &category) const
{
    return QStringLiteral("category %1 of language %2")
        .arg(Quoted(Categories(category.nLanguage).value(category.nCategory)), Quoted(Languages().value(category.nLanguage)));
}

CCatalogEditor::SList CCatalogEditor::ListIn(const SCatalogPlace &owner) const
{
    switch (owner.Level()) {
    case SCatalogPlace::ELevel::None:
        return {kLanguagesSection, kLanguagesKey, QStringLiteral("the language list")};
    case SCatalogPlace::ELevel::Language: {
        const QStringList languages = Languages();
        if (owner.nLanguage >= languages.size())
            return {};
        const QString &language = languages.at(owner.nLanguage);
        return {kCategoriesSection, language, QStringLiteral("the category list of language %1").arg(Quoted(language))};
    }
    case SCatalogPlace::ELevel::Category: {
        const QStringList categories = Categories(owner.nLanguage);
        if (owner.nCategory >= categories.size())
            return {};
        return {Languages().at(owner.nLanguage), categories.at(owner.nCategory),
                QStringLiteral("the engine list of ") + CategoryWhere(owner)};
    }
    default:
        return {};
    }
}

QStringList CCatalogEditor::Items(const SList &list) const
{
    QStringList items;
    if (!list.strSection.isEmpty())
        SplitString(m_document.Value(list.strSection, list.strKey).value_or(QString()), items, u';');
    return items;
}

QString CCatalogEditor::CheckLength(const SList &list, const QStringList &items) const
{
    const qsizetype length = items.join(u';').size();
    if (length < kCatalogListCapacity)
        return {};
    return QStringLiteral("%1 would be %2 characters long; the program reads only %3")
        .arg(list.strWhat)
        .arg(length)
        .arg(kCatalogListCapacity - 1);
}

QString CCatalogEditor::WriteItems(const SList &list, const QStringList &items)
{
    if (list.strSection.isEmpty())
        return QStringLiteral("there is no such list in the catalogue");
    if (QString fault = CheckLength(list, items); !fault.isEmpty())
        return fault;
    m_document.SetValue(list.strSection, list.strKey, items.join(u';'));
    return {};
}

QString CCatalogEditor::CheckListName(const QStringList &others, const QString &name, const QString &what) const
{
    if (QString fault = nameFault(name); !fault.isEmpty())
        return fault;
    if (containsName(others, name))
        return QStringLiteral("there is a %1 %2 already").arg(what, Quoted(name));
    return {};
}

QStringList CCatalogEditor::EngineFaults(const QString &section, const SEngineDescription &engine) const
{
    QStringList faults;
    for (const QString &value : {engine.strName, engine.strUrl, engine.strEncoding, engine.strPostData}) {
        if (holdsLineBreak(value)) {
            faults.append(QStringLiteral("a value cannot hold a line break"));
            break;
        }
    }
    for (const SEngineProblem &problem : CheckEngineValues(section, engine))
        faults.append(problem.strMessage);
    return faults;
}

QString CCatalogEditor::CheckEngineInCategory(const SCatalogPlace &category, const QString &section,
                                              const QString &name) const
{
    for (const QString &other : Items(ListIn(category))) {
        if (!SameCatalogName(other, section) && shownName(Engine(other).strName) == shownName(name))
            return QStringLiteral("%1 has an engine shown as %2 already").arg(CategoryWhere(category), Quoted(shownName(name)));
    }
    return {};
}

QString CCatalogEditor::RenameLanguage(const SCatalogPlace &place, const QString &name)
{
    QStringList languages = Languages();
    const QString old = languages.value(place.nLanguage);
    QStringList others = languages;
    others.removeAt(place.nLanguage);
    if (QString fault = CheckListName(others, name, QStringLiteral("language")); !fault.isEmpty())
        return fault;
    if (!SameCatalogName(old, name) && m_document.HasSection(name))
        return QStringLiteral("the catalogue has a section [%1] already, and a language needs its own").arg(name);
    languages[place.nLanguage] = name;
    if (QString fault = WriteItems(ListIn({}), languages); !fault.isEmpty())
        return fault;
    if (!containsName(languages, old)) {
        m_document.RenameKey(kCategoriesSection, old, name);
        m_document.RenameSection(old, name);
    }
    return {};
}

QString CCatalogEditor::RenameCategory(const SCatalogPlace &place, const QString &name)
{
    const SList list = ListIn(place.Parent());
    QStringList categories = Items(list);
    const QString old = categories.value(place.nCategory);
    QStringList others = categories;
    others.removeAt(place.nCategory);
    if (QString fault = CheckListName(others, name, QStringLiteral("category")); !fault.isEmpty())
        return fault;
    categories[place.nCategory] = name;
    if (QString fault = WriteItems(list, categories); !fault.isEmpty())
        return fault;
    // The category's engine list is its key in the language's section.
    if (!containsName(categories, old))
        m_document.RenameKey(list.strKey, old, name);
    return {};
}

void CCatalogEditor::WriteEngine(const QString &section, const SEngineDescription &engine)
{
    const bool post = engine.eMethod == EEngineMethod::Post;
    // A key whose value would be empty is left out: the reader's default.
    const auto write = [&](const QString &key, const QString &value) {
        if (m_document.Value(section, key).value_or(QString()) == value)
            return;
        if (value.isEmpty())
            m_document.RemoveKey(section, key);
        else
            m_document.SetValue(section, key, value);
    };
    write(kNameKey, engine.strName);
    write(kUrlKey, engine.strUrl);
    write(kEncodingKey, engine.strEncoding);
    // A Method the reader takes for the one meant stays as it is written.
    if (Engine(section).eMethod != engine.eMethod)
        write(kMethodKey, post ? EngineMethodName(engine.eMethod) : QString());
    write(kPostDataKey, post ? engine.strPostData : QString());
}

void CCatalogEditor::RemoveUnlisted(const QStringList &sections)
{
    const QStringList kept = ListedEngines() + Languages() + QStringList{kLanguagesSection, kCategoriesSection};
    for (const QString &section : sections) {
        if (!containsName(kept, section))
            m_document.RemoveSection(section);
    }
}
