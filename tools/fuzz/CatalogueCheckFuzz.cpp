// libFuzzer target: the catalogue checker, its index and the tokenizer under
// it, on arbitrary bytes taken as the catalogue file, held against the reader:
// - the tokenizer's lines give the text back, numbered one by one;
// - every entry the tokenizer finds reads the same through the index as
//   through the reader, whole and at every capacity of the program, and so
//   does its section and key in other letter cases;
// - the checker gives the same problems twice, on lines of the file, in order;
// - a catalogue the checker calls clean resolves through the reader as the
//   form reads it: no empty list, no engine listed twice or shown twice in a
//   category, every engine with a Name and the keywords' "*" in its URL, or
//   for a POST engine in its PostData.

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

#include <algorithm>

#include "catalogue/CatalogChecker.h"
#include "catalogue/CatalogFile.h"
#include "catalogue/CatalogIndex.h"
#include "catalogue/CatalogTokenizer.h"
#include "catalogue/EngineDescription.h"
#include "catalogue/TextCut.h"
#include "tools/fuzz/FuzzSupport.h"

namespace
{
// Reads through the real file are slow; each check of an input makes this
// many at most.
constexpr int kReadBudget = 16;

class CReader final
{
public:
    explicit CReader(const QString &path) { m_catalog.m_szPath = path; }
    Q_DISABLE_COPY_MOVE(CReader)

    bool HasBudget() const { return m_nReads < kReadBudget; }

    QString Read(const QString &section, const QString &key, int capacity)
    {
        ++m_nReads;
        QString value;
        FuzzCheck(m_catalog.ReadString(section, key, value, capacity) == value.size());
        return value;
    }

    QStringList List(const QString &section, const QString &key)
    {
        QStringList items;
        SplitString(Read(section, key, kCatalogListCapacity), items, u';');
        return items;
    }

private:
    CCatalogFile m_catalog;
    int m_nReads = 0;
};

// Returns the number of lines.
int checkTokenizer(const QString &text)
{
    CCatalogTokenizer tokenizer(text);
    QString rebuilt;
    int count = 0;
    for (SCatalogLine line; tokenizer.Next(line);) {
        FuzzCheck(line.nNumber == ++count);
        FuzzCheck(!line.raw.contains(u'\n') && !line.raw.contains(u'\r'));
        FuzzCheck(line.lineEnd.isEmpty() || line.lineEnd == u"\n" || line.lineEnd == u"\r" || line.lineEnd == u"\r\n");
        rebuilt += line.raw + line.lineEnd;
    }
    FuzzCheck(rebuilt == text);
    return count;
}

void checkIndexAgainstReader(const QString &text, const QString &path)
{
    CReader reader(path);
    CCatalogIndex index;
    index.Load(text);
    CCatalogTokenizer tokenizer(text);
    for (SCatalogLine line; tokenizer.Next(line) && reader.HasBudget();) {
        if (line.eKind != SCatalogLine::EKind::Entry)
            continue;
        const QString section = line.section.toString(), key = line.key.toString();
        const CCatalogIndex::SValue *found = index.Find(section, key);
        FuzzCheck(found && found->nLine <= line.nNumber);
        FuzzCheck(index.SectionLine(section) > 0 && index.SectionLine(section) < found->nLine);
        const QString value = found->value.toString();
        FuzzCheck(reader.Read(section, key, int(value.size()) + 1) == value);
        static const int capacities[] = {kCatalogNameCapacity, kCatalogListCapacity, kCatalogUrlCapacity};
        const int capacity = capacities[line.nNumber % 3];
        FuzzCheck(reader.Read(section, key, capacity) == CutToLength(value, capacity - 1));

        // The reader matches names without regard to case; the index must
        // find exactly what the reader finds.
        const QString upperSection = section.toUpper(), lowerKey = key.toLower();
        const CCatalogIndex::SValue *other = index.Find(upperSection, lowerKey);
        const QString read = reader.Read(upperSection, lowerKey, kCatalogUrlCapacity);
        FuzzCheck(other ? read == CutToLength(other->value.toString(), kCatalogUrlCapacity - 1) : read == u"Error!");
    }
}

// What the form would meet walking a catalogue the checker calls clean.
void checkCleanCatalogue(const QString &path)
{
    CReader reader(path);
    const QStringList languages = reader.List(QStringLiteral("LANGUAGES"), QStringLiteral("Languages"));
    FuzzCheck(!languages.isEmpty() && !languages.contains(QString()));
    for (const QString &language : languages) {
        if (!reader.HasBudget())
            return;
        const QStringList categories = reader.List(QStringLiteral("CATEGORYS"), language);
        FuzzCheck(!categories.isEmpty() && !categories.contains(QString()));
        for (const QString &category : categories) {
            if (!reader.HasBudget())
                return;
            const QStringList engines = reader.List(language, category);
            FuzzCheck(!engines.isEmpty() && !engines.contains(QString()));
            QSet<QString> sections, shown;
            for (const QString &engine : engines) {
                if (!reader.HasBudget())
                    return;
                FuzzCheck(!sections.contains(engine.toCaseFolded()));
                sections.insert(engine.toCaseFolded());
                const QString name = reader.Read(engine, QStringLiteral("Name"), kCatalogNameCapacity);
                FuzzCheck(!name.isEmpty() && !shown.contains(name));
                shown.insert(name);
                const QString method = reader.Read(engine, QString::fromUtf16(kEngineMethodKey), kCatalogMethodCapacity);
                if (ParseEngineMethod(method) == EEngineMethod::Post)
                    FuzzCheck(reader.Read(engine, QString::fromUtf16(kEnginePostDataKey), kCatalogPostDataCapacity).contains(u'*'));
                else
                    FuzzCheck(reader.Read(engine, QStringLiteral("URL"), kCatalogUrlCapacity).contains(u'*'));
            }
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString path = WriteFuzzFile(file);
    if (path.isEmpty())
        return 0;

    const QString text = DecodeCatalogText(file);
    const int lines = checkTokenizer(text);
    checkIndexAgainstReader(text, path);

    CCatalogChecker checker(path);
    const CCatalogChecker::EResult result = checker.Check();
    FuzzCheck(result != CCatalogChecker::EResult::Unreadable);
    const QList<SCatalogProblem> problems = checker.Problems();
    FuzzCheck(checker.FormatProblems().size() == problems.size());
    for (qsizetype i = 0; i < problems.size(); ++i) {
        // Lines are counted by the tokenizer, or by LF alone for bytes that are not UTF-8.
        FuzzCheck(problems[i].nLine >= 0 && problems[i].nLine <= std::max<qsizetype>(lines, file.count('\n') + 1));
        FuzzCheck(!problems[i].strMessage.isEmpty());
        FuzzCheck(i == 0 || problems[i - 1].nLine <= problems[i].nLine);
    }
    FuzzCheck(checker.Check() == result);
    FuzzCheck(checker.Problems().size() == problems.size());

    if (result == CCatalogChecker::EResult::Clean)
        checkCleanCatalogue(path);
    return 0;
}
