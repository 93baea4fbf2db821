// libFuzzer target: the catalogue checker, its index and the tokenizer under
// it, on arbitrary bytes taken as the catalogue file, held against the reader:
// - the tokenizer's lines give the text back, numbered one by one;
// - every entry the tokenizer finds reads the same through the index as
//   through the reader, whole and at every capacity of the program, and so
//   does its section and key in other letter cases;
// - the checker gives the same problems twice, on lines of the file, in order;
// - a catalogue the checker calls clean resolves through the reader as the
//   form reads it: no empty list, no engine listed twice or shown twice in a
//   category, every engine with a Name and a URL with a "*".

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "catalogue/CatalogChecker.h"
#include "catalogue/CatalogFile.h"
#include "catalogue/CatalogIndex.h"
#include "catalogue/CatalogTokenizer.h"
#include "catalogue/TextCut.h"

namespace
{
// Reads through the real file are slow; an input gets this many at most.
constexpr int kReadBudget = 64;

const QString &catalogPath()
{
    static const QString path = []() -> QString {
        const QString dir = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        return dir + QStringLiteral("/quaerio-checkfuzz-%1.CFG").arg(::getpid());
    }();
    static const bool cleanup = std::atexit([] { QFile::remove(catalogPath()); }) == 0;
    Q_UNUSED(cleanup);
    return path;
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

class CReader final
{
public:
    CReader() { m_catalog.m_szPath = catalogPath(); }
    Q_DISABLE_COPY_MOVE(CReader)

    bool HasBudget() const { return m_nReads < kReadBudget; }

    QString Read(const QString &section, const QString &key, int capacity)
    {
        ++m_nReads;
        QString value;
        check(m_catalog.ReadString(section, key, value, capacity) == value.size());
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
        check(line.nNumber == ++count);
        check(!line.raw.contains(u'\n') && !line.raw.contains(u'\r'));
        check(line.lineEnd.isEmpty() || line.lineEnd == u"\n" || line.lineEnd == u"\r" || line.lineEnd == u"\r\n");
        rebuilt += line.raw + line.lineEnd;
    }
    check(rebuilt == text);
    return count;
}

void checkIndexAgainstReader(const QString &text, CReader &reader)
{
    CCatalogIndex index;
    index.Load(text);
    CCatalogTokenizer tokenizer(text);
    for (SCatalogLine line; tokenizer.Next(line) && reader.HasBudget();) {
        if (line.eKind != SCatalogLine::EKind::Entry)
            continue;
        const QString section = line.section.toString(), key = line.key.toString();
        const CCatalogIndex::SValue *found = index.Find(section, key);
        check(found && found->nLine <= line.nNumber);
        check(index.SectionLine(section) > 0 && index.SectionLine(section) < found->nLine);
        const QString value = found->value.toString();
        check(reader.Read(section, key, int(value.size()) + 1) == value);
        const int capacity = (line.nNumber % 3 == 0) ? kCatalogNameCapacity : (line.nNumber % 3 == 1) ? kCatalogListCapacity : kCatalogUrlCapacity;
        check(reader.Read(section, key, capacity) == CutToLength(value, capacity - 1));

        // The reader matches names without regard to case; the index must
        // find exactly what the reader finds.
        const QString upperSection = section.toUpper(), lowerKey = key.toLower();
        const CCatalogIndex::SValue *other = index.Find(upperSection, lowerKey);
        const QString read = reader.Read(upperSection, lowerKey, kCatalogUrlCapacity);
        check(other ? read == CutToLength(other->value.toString(), kCatalogUrlCapacity - 1) : read == u"Error!");
    }
}

// What the form would meet walking a catalogue the checker calls clean.
void checkCleanCatalogue(CReader &reader)
{
    const QStringList languages = reader.List(QStringLiteral("LANGUAGES"), QStringLiteral("Languages"));
    check(!languages.isEmpty() && !languages.contains(QString()));
    for (const QString &language : languages) {
        if (!reader.HasBudget())
            return;
        const QStringList categories = reader.List(QStringLiteral("CATEGORYS"), language);
        check(!categories.isEmpty() && !categories.contains(QString()));
        for (const QString &category : categories) {
            if (!reader.HasBudget())
                return;
            const QStringList engines = reader.List(language, category);
            check(!engines.isEmpty() && !engines.contains(QString()));
            QSet<QString> sections, shown;
            for (const QString &engine : engines) {
                if (!reader.HasBudget())
                    return;
                check(!sections.contains(engine.toCaseFolded()));
                sections.insert(engine.toCaseFolded());
                const QString name = reader.Read(engine, QStringLiteral("Name"), kCatalogNameCapacity);
                check(!name.isEmpty() && !shown.contains(name));
                shown.insert(name);
                check(reader.Read(engine, QStringLiteral("URL"), kCatalogUrlCapacity).contains(u'*'));
            }
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    FILE *out = std::fopen(catalogPath().toLocal8Bit().constData(), "wb");
    if (!out)
        return 0;
    std::fwrite(file.constData(), 1, static_cast<size_t>(file.size()), out);
    std::fclose(out);

    const QString text = DecodeCatalogText(file);
    const int lines = checkTokenizer(text);
    CReader reader;
    checkIndexAgainstReader(text, reader);

    CCatalogChecker checker(catalogPath());
    const CCatalogChecker::EResult result = checker.Check();
    check(result != CCatalogChecker::EResult::Unreadable);
    const QList<SCatalogProblem> problems = checker.Problems();
    check(checker.FormatProblems().size() == problems.size());
    for (qsizetype i = 0; i < problems.size(); ++i) {
        // Lines are counted by the tokenizer, or by LF alone for bytes that are not UTF-8.
        check(problems[i].nLine >= 0 && problems[i].nLine <= std::max<qsizetype>(lines, file.count('\n') + 1));
        check(!problems[i].strMessage.isEmpty());
        check(i == 0 || problems[i - 1].nLine <= problems[i].nLine);
    }
    check(checker.Check() == result);
    check(checker.Problems().size() == problems.size());

    if (result == CCatalogChecker::EResult::Clean)
        checkCleanCatalogue(reader);
    return 0;
}
