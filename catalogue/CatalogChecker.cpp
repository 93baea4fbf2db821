#include "catalogue/CatalogChecker.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>

namespace
{
// The reader treats a larger file as unreadable; so does the checker.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;
// Values are read whole, so that a value the program would cut can be told
// apart from one that just fits; no line can be longer than the file.
constexpr int kWholeValue = static_cast<int>(kMaxFileSize) + 1;

const QString kLanguagesSection = QStringLiteral("LANGUAGES");
const QString kLanguagesKey = QStringLiteral("Languages");
const QString kCategoriesSection = QStringLiteral("CATEGORYS");

QString quoted(const QString &name)
{
    return u'"' + name + u'"';
}

QString sectionName(const QString &name)
{
    return u'[' + name + u']';
}

QString lineKey(const QString &section, const QString &key)
{
    return section.toCaseFolded() + QChar(u'\0') + key.toCaseFolded();
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QStringView trimBlanks(QStringView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.mid(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// The lines of `text` as an editor numbers them: CRLF, LF and CR each end one.
QList<QStringView> splitLines(const QString &text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\n' && text[i] != u'\r')
            continue;
        lines.append(QStringView(text).mid(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    lines.append(QStringView(text).mid(start));
    return lines;
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
} // namespace

CCatalogChecker::CCatalogChecker(const QString &path)
{
    m_reader.m_szPath = path;
}

CCatalogChecker::EResult CCatalogChecker::Check()
{
    m_problems.clear();
    m_strUnreadable.clear();
    m_keyLines.clear();
    m_sectionLines.clear();
    m_shownNames.clear();
    m_checkedEngines.clear();
    if (!ReadLines())
        return m_strUnreadable.isEmpty() ? EResult::Problems : EResult::Unreadable;

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
        const QString where = problem.nLine > 0 ? QStringLiteral("%1:%2").arg(m_reader.m_szPath).arg(problem.nLine)
                                                : m_reader.m_szPath;
        lines.append(where + QStringLiteral(": ") + problem.strMessage);
    }
    return lines;
}

bool CCatalogChecker::ReadLines()
{
    const QFileInfo info(m_reader.m_szPath);
    if (info.isDir()) {
        m_strUnreadable = QStringLiteral("is a directory");
        return false;
    }
    QFile file(m_reader.m_szPath);
    if (!file.open(QIODevice::ReadOnly)) {
        m_strUnreadable = file.errorString();
        return false;
    }
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (bytes.size() > kMaxFileSize) {
        m_strUnreadable = QStringLiteral("is larger than 64 MiB");
        return false;
    }
    if (!CheckEncoding(bytes))
        return false;

    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder decoder(QStringConverter::Utf16LE);
        IndexLines(decoder.decode(QByteArrayView(bytes).sliced(2)));
    } else {
        QStringDecoder decoder(QStringConverter::Utf8);
        IndexLines(decoder.decode(bytes.startsWith("\xEF\xBB\xBF") ? QByteArrayView(bytes).sliced(3) : QByteArrayView(bytes)));
    }
    return true;
}

// False when the reader could not make sense of the file at all, so that
// every further check would only repeat it.
bool CCatalogChecker::CheckEncoding(const QByteArray &bytes)
{
    const QString advice = QStringLiteral("; save it as UTF-8, or as UTF-16 little-endian with a byte-order mark");
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder decoder(QStringConverter::Utf16LE);
        const QString text = decoder.decode(QByteArrayView(bytes).sliced(2));
        if (decoder.hasError() || bytes.size() % 2 != 0)
            Report(0, QStringLiteral("the file starts with a UTF-16 byte-order mark but is not valid UTF-16") + advice);
        return true;
    }
    if (bytes.startsWith("\xFE\xFF")) {
        Report(0, QStringLiteral("the file is UTF-16 big-endian, which the program cannot read") + advice);
        return false;
    }
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].contains('\0')) {
            Report(static_cast<int>(i + 1), QStringLiteral("the file holds NUL bytes, as UTF-16 without a byte-order mark does") + advice);
            return false;
        }
    }
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringDecoder decoder(QStringConverter::Utf8);
        const QString text = decoder.decode(lines[i]); // decodes only when converted
        if (decoder.hasError()) {
            // Lines counted by LF only: a file in another encoding is rarely
            // split by CR alone, and the line shown only guides the search.
            Report(static_cast<int>(i + 1), QStringLiteral("the file is neither UTF-8 nor UTF-16 with a byte-order mark "
                                                           "(this line is not valid UTF-8)")
                                                + advice);
            break;
        }
    }
    return true;
}

// Follows the reader's rules for sections, keys and comments, to learn the
// line on which each value the reader finds stands.
void CCatalogChecker::IndexLines(const QString &text)
{
    const QList<QStringView> lines = splitLines(text);
    QString section;
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringView line = lines[i];
        const qsizetype nul = line.indexOf(QChar(u'\0'));
        if (nul >= 0)
            line = line.left(nul);
        line = trimBlanks(line);
        if (line.isEmpty() || line.front() == u';')
            continue;
        const int number = static_cast<int>(i + 1);
        if (line.front() == u'[') {
            const qsizetype close = line.indexOf(u']');
            inSection = close > 0;
            if (inSection) {
                section = trimBlanks(line.mid(1, close - 1)).toString();
                if (!m_sectionLines.contains(section.toCaseFolded()))
                    m_sectionLines.insert(section.toCaseFolded(), number);
            }
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inSection || equals < 0)
            continue;
        const QString key = lineKey(section, trimBlanks(line.left(equals)).toString());
        if (!m_keyLines.contains(key))
            m_keyLines.insert(key, number);
    }
}

bool CCatalogChecker::ReadValue(const QString &section, const QString &key, int capacity, QString &value)
{
    value.clear();
    if (!m_keyLines.contains(lineKey(section, key)))
        return false;
    m_reader.ReadString(section, key, value, kWholeValue);
    if (value.size() > capacity - 1) {
        Report(LineOf(section, key), QStringLiteral("the value of %1 in %2 is %3 characters long; the program reads only the first %4")
                                         .arg(key, sectionName(section))
                                         .arg(value.size())
                                         .arg(capacity - 1));
        value.truncate(capacity - 1);
    }
    return true;
}

int CCatalogChecker::LineOf(const QString &section, const QString &key) const
{
    return m_keyLines.value(lineKey(section, key), 0);
}

int CCatalogChecker::SectionLine(const QString &section) const
{
    return m_sectionLines.value(section.toCaseFolded(), 0);
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
               QStringLiteral("language %1 has no categories: [CATEGORYS] has no key %1").arg(quoted(language)));
        return;
    }
    const int line = LineOf(kCategoriesSection, language);
    if (categories.isEmpty()) {
        Report(line, QStringLiteral("language %1 has no categories: its list is empty").arg(quoted(language)));
        return;
    }
    const QString what = QStringLiteral("the category list of language %1").arg(quoted(language));
    for (const QString &category : SplitList(categories, line, what))
        CheckCategory(language, category);
}

void CCatalogChecker::CheckCategory(const QString &language, const QString &category)
{
    const QString where = QStringLiteral("category %1 of language %2").arg(quoted(category), quoted(language));
    QString engines;
    if (!ReadValue(language, category, kCatalogListCapacity, engines)) {
        Report(LineOf(kCategoriesSection, language),
               where + QStringLiteral(" has no engine list: %1 has no key %2").arg(sectionName(language), quoted(category)));
        return;
    }
    const int line = LineOf(language, category);
    if (engines.isEmpty()) {
        Report(line, where + QStringLiteral(" has an empty engine list"));
        return;
    }

    QSet<QString> listed;
    QHash<QString, QString> byShownName; // shown name → first engine shown with it
    for (const QString &engine : SplitList(engines, line, QStringLiteral("the engine list of ") + where)) {
        // Section names match without regard to case, so "bing" is "Bing".
        if (listed.contains(engine.toCaseFolded())) {
            Report(line, QStringLiteral("engine %1 is listed twice in ").arg(quoted(engine)) + where);
            continue;
        }
        listed.insert(engine.toCaseFolded());
        CheckEngine(engine, line);
        const auto shown = m_shownNames.constFind(engine.toCaseFolded());
        if (shown == m_shownNames.constEnd())
            continue;
        if (const auto other = byShownName.constFind(*shown); other != byShownName.constEnd())
            Report(line, QStringLiteral("engines %1 and %2 in %3 are both shown as %4")
                             .arg(quoted(*other), quoted(engine), where, quoted(*shown)));
        else
            byShownName.insert(*shown, engine);
    }
}

// Problems of the engine's own section are reported once, however often it is listed.
void CCatalogChecker::CheckEngine(const QString &engine, int listedAt)
{
    const QString section = sectionName(engine);
    if (!m_sectionLines.contains(engine.toCaseFolded())) {
        Report(listedAt, QStringLiteral("engine %1 is listed, but there is no section %2").arg(quoted(engine), section));
        return;
    }
    if (m_checkedEngines.contains(engine.toCaseFolded()))
        return;
    m_checkedEngines.insert(engine.toCaseFolded());

    const int sectionLine = SectionLine(engine);
    QString name;
    if (!ReadValue(engine, QStringLiteral("Name"), kCatalogNameCapacity, name))
        Report(sectionLine, section + QStringLiteral(" has no Name"));
    else if (name.isEmpty())
        Report(LineOf(engine, QStringLiteral("Name")), section + QStringLiteral(" has an empty Name"));
    else
        m_shownNames.insert(engine.toCaseFolded(), name);

    QString url;
    if (!ReadValue(engine, QStringLiteral("URL"), kCatalogUrlCapacity, url)) {
        Report(sectionLine, section + QStringLiteral(" has no URL"));
        return;
    }
    const int urlLine = LineOf(engine, QStringLiteral("URL"));
    if (url.isEmpty()) {
        Report(urlLine, section + QStringLiteral(" has an empty URL"));
        return;
    }
    if (!url.contains(u'*'))
        Report(urlLine, QStringLiteral("the URL of %1 has no \"*\" where the keywords go").arg(section));
    const QString scheme = schemeOf(url);
    if (scheme != u"http" && scheme != u"https" && scheme != u"file")
        Report(urlLine, QStringLiteral("the URL of %1 is not an http, https or file address").arg(section));
}
