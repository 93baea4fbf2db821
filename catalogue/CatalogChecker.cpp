#include "catalogue/CatalogChecker.h"

#include <QSet>
#include <QStringDecoder>

#include <algorithm>

#include "catalogue/CatalogNames.h"
#include "catalogue/CatalogTokenizer.h"
#include "catalogue/EngineEncoding.h"
#include "catalogue/TextCut.h"

using namespace CatalogNames;

namespace
{
QString sectionName(const QString &name)
{
    return u'[' + name + u']';
}

// The line of `position` when lines are counted by LF only.
int lfLineAt(const QByteArray &bytes, qsizetype position)
{
    return static_cast<int>(QByteArrayView(bytes).first(position).count('\n') + 1);
}

// The scheme of an address: the letters before its first ":", lower case;
// empty when it has none.
QString schemeOf(const QString &url)
{
    const qsizetype colon = url.indexOf(u':');
    if (colon <= 0)
        return {};
    const QString scheme = url.left(colon);
    if (!scheme.front().isLetter())
        return {};
    for (const QChar c : scheme) {
        if (!(c.isLetterOrNumber() || c == u'+' || c == u'-' || c == u'.') || c.unicode() > 0x7F)
            return {};
    }
    return scheme.toLower();
}

// `value` as the program reads it with `capacity`; a value it would cut adds
// the fault to `problems`.
QString readAsCut(const QString &value, int capacity, const QString &section, const QString &key, QStringList &problems)
{
    QString read = CutToLength(value, capacity - 1);
    if (read.size() < value.size())
        problems.append(QStringLiteral("the value of %1 in %2 is %3 characters long; the program reads only the first %4")
                            .arg(key, section)
                            .arg(value.size())
                            .arg(read.size()));
    return read;
}

// The first line holding bytes that are not UTF-8; 0 when there is none.
// Lines are counted by LF only: a file in another encoding is rarely split by
// CR alone, and the line shown only guides the search.
int firstInvalidUtf8Line(const QByteArray &bytes)
{
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QStringDecoder decoder(QStringConverter::Utf8);
        const QString line = decoder.decode(QByteArrayView(bytes).sliced(start, end - start));
        if (decoder.hasError())
            return lfLineAt(bytes, start);
        start = end + 1;
    }
    return 0;
}
} // namespace

CCatalogChecker::CCatalogChecker(const QString &path)
    : m_strPath(path)
{
}

CCatalogChecker::EResult CCatalogChecker::Check()
{
    const std::optional<QByteArray> bytes = ReadCatalogBytes(m_strPath, &m_strUnreadable);
    if (!bytes) {
        m_problems.clear();
        return EResult::Unreadable;
    }
    return CheckBytes(*bytes);
}

CCatalogChecker::EResult CCatalogChecker::CheckBytes(const QByteArray &bytes)
{
    m_problems.clear();
    m_strUnreadable.clear();
    m_index.Load(QString());
    m_checkedEngines.clear();
    bool invalid = false;
    QString text = DecodeCatalogText(bytes, &invalid);
    if (!CheckEncoding(bytes, invalid))
        return EResult::Problems;
    m_index.Load(std::move(text));

    QString languages;
    if (!ReadValue(kLanguagesSection, kLanguagesKey, kCatalogListCapacity, languages)) {
        Report(SectionLine(kLanguagesSection), QStringLiteral("there is no language list (key Languages in [LANGUAGES])"));
    } else {
        const int line = LineOf(kLanguagesSection, kLanguagesKey);
        if (languages.isEmpty())
            Report(line, QStringLiteral("the language list is empty"));
        for (const QString &language : SplitList(languages, line, QStringLiteral("the language list")))
            CheckLanguage(language);
    }

    std::stable_sort(m_problems.begin(), m_problems.end(),
                     [](const SCatalogProblem &a, const SCatalogProblem &b) { return a.nLine < b.nLine; });
    return m_problems.isEmpty() ? EResult::Clean : EResult::Problems;
}

const QList<SCatalogProblem> &CCatalogChecker::Problems() const
{
    return m_problems;
}

QString CCatalogChecker::UnreadableReason() const
{
    return m_strUnreadable;
}

QStringList CCatalogChecker::FormatProblems() const
{
    QStringList lines;
    for (const SCatalogProblem &problem : m_problems) {
        const QString where = problem.nLine > 0 ? QStringLiteral("%1:%2").arg(m_strPath).arg(problem.nLine) : m_strPath;
        lines.append(where + QStringLiteral(": ") + problem.strMessage);
    }
    return lines;
}

// False when the reader could not make sense of the file at all, so that
// every further check would only repeat it.
bool CCatalogChecker::CheckEncoding(const QByteArray &bytes, bool invalid)
{
    const QString advice = QStringLiteral("; save it as UTF-8, or as UTF-16 little-endian with a byte-order mark");
    if (IsUtf16Catalog(bytes)) {
        if (invalid)
            Report(0, QStringLiteral("the file starts with a UTF-16 byte-order mark but is not valid UTF-16") + advice);
        return true;
    }
    if (bytes.startsWith("\xFE\xFF")) {
        Report(0, QStringLiteral("the file is UTF-16 big-endian, which the program cannot read") + advice);
        return false;
    }
    if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0) {
        Report(lfLineAt(bytes, nul), QStringLiteral("the file holds NUL bytes, as UTF-16 without a byte-order mark does") + advice);
        return false;
    }
    if (invalid)
        Report(firstInvalidUtf8Line(bytes), QStringLiteral("the file is neither UTF-8 nor UTF-16 with a byte-order mark "
                                                           "(this line is not valid UTF-8)")
                                                + advice);
    return true;
}

bool CCatalogChecker::ReadValue(const QString &section, const QString &key, int capacity, QString &value)
{
    value.clear();
    const CCatalogIndex::SValue *found = m_index.Find(section, key);
    if (!found)
        return false;
    QStringList problems;
    value = readAsCut(found->value.toString(), capacity, sectionName(section), key, problems);
    for (const QString &problem : std::as_const(problems))
        Report(found->nLine, problem);
    return true;
}

int CCatalogChecker::LineOf(const QString &section, const QString &key) const
{
    const CCatalogIndex::SValue *found = m_index.Find(section, key);
    return found ? found->nLine : 0;
}

int CCatalogChecker::SectionLine(const QString &section) const
{
    return m_index.SectionLine(section);
}

void CCatalogChecker::Report(int line, const QString &message)
{
    m_problems.append({line, message});
}

// The items of a list value already read, with empty items reported and left out.
QStringList CCatalogChecker::SplitList(const QString &value, int line, const QString &what)
{
    QStringList items;
    SplitString(value, items, u';');
    if (items.removeAll(QString()) > 0)
        Report(line, what + QStringLiteral(" has an empty item"));
    return items;
}

void CCatalogChecker::CheckLanguage(const QString &language)
{
    QString categories;
    if (!ReadValue(kCategoriesSection, language, kCatalogListCapacity, categories)) {
        Report(LineOf(kLanguagesSection, kLanguagesKey),
               QStringLiteral("language %1 has no categories: [CATEGORYS] has no key %1").arg(Quoted(language)));
        return;
    }
    const int line = LineOf(kCategoriesSection, language);
    if (categories.isEmpty()) {
        Report(line, QStringLiteral("language %1 has no categories: its list is empty").arg(Quoted(language)));
        return;
    }
    const QString what = QStringLiteral("the category list of language %1").arg(Quoted(language));
    for (const QString &category : SplitList(categories, line, what))
        CheckCategory(language, category);
}

void CCatalogChecker::CheckCategory(const QString &language, const QString &category)
{
    const QString where = QStringLiteral("category %1 of language %2").arg(Quoted(category), Quoted(language));
    QString engines;
    if (!ReadValue(language, category, kCatalogListCapacity, engines)) {
        Report(LineOf(kCategoriesSection, language),
               where + QStringLiteral(" has no engine list: %1 has no key %2").arg(sectionName(language), Quoted(category)));
        return;
    }
    const int line = LineOf(language, category);
    if (engines.isEmpty()) {
        Report(line, where + QStringLiteral(" has an empty engine list"));
        return;
    }

    const QStringList listed = SplitList(engines, line, QStringLiteral("the engine list of ") + where);
    QSet<SCatalogKey> sections; // section names match without regard to case, so "bing" is "Bing"
    QHash<QString, QString> byShownName; // shown name → first engine shown with it
    for (const QString &engine : listed) {
        if (sections.contains({engine, {}})) {
            Report(line, QStringLiteral("engine %1 is listed twice in ").arg(Quoted(engine)) + where);
            continue;
        }
        sections.insert({engine, {}});
        CheckEngine(engine, line);
        const QString shown = ShownName(engine);
        if (shown.isEmpty())
            continue;
        if (const auto other = byShownName.constFind(shown); other != byShownName.constEnd())
            Report(line, QStringLiteral("engines %1 and %2 in %3 are both shown as %4")
                             .arg(Quoted(*other), Quoted(engine), where, Quoted(shown)));
        else
            byShownName.insert(shown, engine);
    }
}

// The name the program shows for the engine: its Name as the program cuts it;
// empty when it has none.
QString CCatalogChecker::ShownName(const QString &engine) const
{
    const CCatalogIndex::SValue *name = m_index.Find(engine, kNameKey);
    return name ? CutToLength(name->value.toString(), kCatalogNameCapacity - 1) : QString();
}

// Problems of the engine's own section are reported once, however often it is listed.
void CCatalogChecker::CheckEngine(const QString &engine, int listedAt)
{
    const QString section = sectionName(engine);
    if (SectionLine(engine) == 0) {
        Report(listedAt, QStringLiteral("engine %1 is listed, but there is no section %2").arg(Quoted(engine), section));
        return;
    }
    const int sectionLine = SectionLine(engine);
    if (m_checkedEngines.contains(sectionLine))
        return;
    m_checkedEngines.insert(sectionLine);

    const auto valueOf = [this, &engine](const QString &key) -> std::optional<QString> {
        const CCatalogIndex::SValue *found = m_index.Find(engine, key);
        return found ? std::optional<QString>(found->value.toString()) : std::nullopt;
    };
    for (const SEngineProblem &problem : CheckEngineValues(engine, valueOf))
        Report(problem.strKey.isEmpty() ? sectionLine : LineOf(engine, problem.strKey), problem.strMessage);
}

QList<SEngineProblem> CheckEngineValues(const QString &section, const EngineValueLookup &valueOf)
{
    const QString where = sectionName(section);
    QList<SEngineProblem> problems;
    const auto report = [&problems](const QString &key, const QString &message) { problems.append({key, message}); };
    // The value as the program reads it; one it would cut is reported.
    const auto read = [&](const QString &key, int capacity) -> std::optional<QString> {
        const std::optional<QString> value = valueOf(key);
        if (!value)
            return std::nullopt;
        QStringList cut;
        const QString read = readAsCut(*value, capacity, where, key, cut);
        for (const QString &message : std::as_const(cut))
            report(key, message);
        return read;
    };

    const std::optional<QString> name = read(kNameKey, kCatalogNameCapacity);
    if (!name)
        report({}, where + QStringLiteral(" has no Name"));
    else if (name->isEmpty())
        report(kNameKey, where + QStringLiteral(" has an empty Name"));

    // GET without a Method key; nothing for a Method that names neither.
    std::optional<EEngineMethod> method = EEngineMethod::Get;
    if (const std::optional<QString> value = read(kMethodKey, kCatalogMethodCapacity)) {
        method = ParseEngineMethod(*value);
        if (!method)
            report(kMethodKey, QStringLiteral("the Method of %1 is %2; it must be GET or POST").arg(where, Quoted(*value)));
    }

    const std::optional<QString> url = read(kUrlKey, kCatalogUrlCapacity);
    if (!url) {
        report({}, where + QStringLiteral(" has no URL"));
    } else if (url->isEmpty()) {
        report(kUrlKey, where + QStringLiteral(" has an empty URL"));
    } else {
        if (method != EEngineMethod::Post && !url->contains(u'*'))
            report(kUrlKey, QStringLiteral("the URL of %1 has no \"*\" where the keywords go").arg(where));
        const QString scheme = schemeOf(*url);
        if (scheme != u"http" && scheme != u"https" && scheme != u"file")
            report(kUrlKey, QStringLiteral("the URL of %1 is not an http, https or file address").arg(where));
    }

    // Post data is sent by POST only, and must take the keywords.
    const std::optional<QString> data = read(kPostDataKey, kCatalogPostDataCapacity);
    if (method == EEngineMethod::Post && data.value_or(QString()).isEmpty())
        report(kMethodKey, where + QStringLiteral(" is a POST engine without PostData"));
    else if (method == EEngineMethod::Post && !data->contains(u'*'))
        report(kPostDataKey, QStringLiteral("the PostData of %1 has no \"*\" where the keywords go").arg(where));
    else if (method == EEngineMethod::Get && data)
        report(kPostDataKey, where + QStringLiteral(" has PostData, which only a POST engine sends (Method=POST)"));

    const std::optional<QString> encoding = read(kEncodingKey, kCatalogEncodingCapacity);
    if (encoding && CanonicalEncodingName(*encoding).isEmpty())
        report(kEncodingKey, QStringLiteral("the Encoding of %1 is %2, not a charset the program can send keywords in")
                                 .arg(where, Quoted(*encoding)));
    return problems;
}

QList<SEngineProblem> CheckEngineValues(const QString &section, const SEngineDescription &engine)
{
    // The keys the editor writes: Encoding, Method and PostData only where
    // they say something.
    const bool post = engine.eMethod == EEngineMethod::Post;
    return CheckEngineValues(section, [&engine, post](const QString &key) -> std::optional<QString> {
        if (key == kNameKey)
            return engine.strName;
        if (key == kUrlKey)
            return engine.strUrl;
        if (key == kEncodingKey && !engine.strEncoding.isEmpty())
            return engine.strEncoding;
        if (key == kMethodKey && post)
            return EngineMethodName(engine.eMethod);
        if (key == kPostDataKey && post && !engine.strPostData.isEmpty())
            return engine.strPostData;
        return std::nullopt;
    });
}
