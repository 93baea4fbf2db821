#include "catalogue/CatalogDocument.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringEncoder>

#include <algorithm>
#include <utility>

#include "catalogue/CatalogTokenizer.h"

namespace
{
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

// The value as written after "=": quoted when the reader would otherwise
// trim blanks off it or take a pair of quotes away.
QString writtenValue(const QString &value)
{
    if (value.isEmpty())
        return value;
    const bool quoted = value.size() >= 2 && isQuote(value.front()) && value.back() == value.front();
    if (quoted || isBlank(value.front()) || isBlank(value.back()))
        return u'"' + value + u'"';
    return value;
}

// The stretch of `raw` after its first "=" without the blanks around it:
// the value as written, quotes included.
QStringView writtenValueOf(QStringView raw)
{
    if (const qsizetype nul = raw.indexOf(QChar(u'\0')); nul >= 0)
        raw = raw.left(nul);
    QStringView value = raw.mid(raw.indexOf(u'=') + 1);
    while (!value.isEmpty() && isBlank(value.front()))
        value = value.mid(1);
    while (!value.isEmpty() && isBlank(value.back()))
        value.chop(1);
    return value;
}

bool isEntryOf(const SCatalogLine &line, QStringView section, QStringView key)
{
    return line.eKind == SCatalogLine::EKind::Entry && SameCatalogName(line.section, section)
           && SameCatalogName(line.key, key);
}

bool isHeaderOf(const SCatalogLine &line, QStringView section)
{
    return line.eKind == SCatalogLine::EKind::Section && SameCatalogName(line.section, section);
}

bool isHeader(const SCatalogLine &line)
{
    return line.eKind == SCatalogLine::EKind::Section || line.eKind == SCatalogLine::EKind::NoSection;
}

bool isBlankLine(const SCatalogLine &line)
{
    return line.raw.trimmed().isEmpty();
}

// A line that says nothing: blank, or a comment.
bool isSilent(const SCatalogLine &line)
{
    const QStringView text = line.raw.trimmed();
    return text.isEmpty() || text.front() == u';';
}
} // namespace

CCatalogDocument::CCatalogDocument() = default;

bool CCatalogDocument::SetBytes(const QByteArray &bytes, QString *reason)
{
    const EEncoding encoding = IsUtf16Catalog(bytes)        ? EEncoding::Utf16
                               : bytes.startsWith("\xEF\xBB\xBF") ? EEncoding::Utf8WithMark
                                                                  : EEncoding::Utf8;
    const EEncoding before = std::exchange(m_eEncoding, encoding);
    QString text = std::exchange(m_text, DecodeCatalogText(bytes));
    m_bIndexed = false;
    if (Bytes() == bytes)
        return true;
    m_eEncoding = before;
    m_text = std::move(text);
    if (reason)
        *reason = QStringLiteral("the file is neither UTF-8 nor UTF-16 with a byte-order mark; Quaerio changes only "
                                 "catalogues it can write back unchanged");
    return false;
}

bool CCatalogDocument::Load(const QString &path, QString *reason)
{
    const std::optional<QByteArray> bytes = ReadCatalogBytes(path, reason);
    return bytes && SetBytes(*bytes, reason);
}

QByteArray CCatalogDocument::Bytes() const
{
    if (m_eEncoding == EEncoding::Utf16) {
        QStringEncoder encoder(QStringConverter::Utf16LE);
        return "\xFF\xFE" + QByteArray(encoder.encode(m_text));
    }
    const QByteArray text = m_text.toUtf8();
    return m_eEncoding == EEncoding::Utf8WithMark ? "\xEF\xBB\xBF" + text : text;
}

bool CCatalogDocument::Save(const QString &path, QString *reason) const
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        if (reason)
            *reason = QStringLiteral("cannot make the folder %1").arg(folder);
        return false;
    }
    QSaveFile file(path);
    const QByteArray bytes = Bytes();
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (reason)
        *reason = file.errorString();
    return false;
}

std::optional<QString> CCatalogDocument::Value(QStringView section, QStringView key) const
{
    const CCatalogIndex::SValue *found = Index().Find(section, key);
    return found ? std::optional<QString>(found->value.toString()) : std::nullopt;
}

bool CCatalogDocument::HasSection(QStringView section) const
{
    return Index().SectionLine(section) > 0;
}

QStringList CCatalogDocument::Sections() const
{
    QStringList sections;
    for (const SCatalogLine &line : Lines()) {
        if (line.eKind == SCatalogLine::EKind::Section && !sections.contains(line.section, Qt::CaseInsensitive))
            sections.append(line.section.toString());
    }
    return sections;
}

void CCatalogDocument::SetValue(const QString &section, const QString &key, const QString &value)
{
    const QList<SCatalogLine> lines = Lines();
    const SCatalogLine *last = nullptr; // the section's last value, or its last header
    for (const SCatalogLine &line : lines) {
        if (isEntryOf(line, section, key)) {
            const QStringView written = writtenValueOf(line.raw);
            if (line.value != value)
                Apply({{OffsetOf(written), written.size(), writtenValue(value)}});
            return;
        }
        if (isHeaderOf(line, section) || (line.eKind == SCatalogLine::EKind::Entry && SameCatalogName(line.section, section)))
            last = &line;
    }
    const QString newLine = key + u'=' + writtenValue(value);
    if (last)
        InsertAfter(*last, newLine);
    else
        AppendSection(section, newLine);
}

void CCatalogDocument::RemoveKey(QStringView section, QStringView key)
{
    QList<SChange> changes;
    for (const SCatalogLine &line : Lines()) {
        if (isEntryOf(line, section, key))
            changes.append({OffsetOf(line.raw), line.raw.size() + line.lineEnd.size(), {}});
    }
    Apply(changes);
}

void CCatalogDocument::RenameKey(QStringView section, QStringView oldKey, const QString &newKey)
{
    if (!SameCatalogName(oldKey, newKey))
        RemoveKey(section, newKey);
    QList<SChange> changes;
    for (const SCatalogLine &line : Lines()) {
        if (isEntryOf(line, section, oldKey))
            changes.append({OffsetOf(line.key), line.key.size(), newKey});
    }
    Apply(changes);
}

void CCatalogDocument::RenameSection(QStringView oldName, const QString &newName)
{
    QList<SChange> changes;
    for (const SCatalogLine &line : Lines()) {
        if (isHeaderOf(line, oldName))
            changes.append({OffsetOf(line.section), line.section.size(), newName});
    }
    Apply(changes);
}

void CCatalogDocument::RemoveSection(QStringView section)
{
    const QList<SCatalogLine> lines = Lines();
    QList<SChange> changes;
    for (qsizetype header = 0; header < lines.size(); ++header) {
        if (!isHeaderOf(lines[header], section))
            continue;
        // Comments right above the header speak of the section; the blank
        // lines above them part it from what went before.
        qsizetype first = header;
        while (first > 0 && isSilent(lines[first - 1]) && !isBlankLine(lines[first - 1]))
            --first;
        while (first > 0 && isBlankLine(lines[first - 1]))
            --first;
        qsizetype last = header;
        for (qsizetype i = header + 1; i < lines.size() && !isHeader(lines[i]); ++i) {
            if (!isSilent(lines[i]))
                last = i;
        }
        const qsizetype start = OffsetOf(lines[first].raw);
        const qsizetype end = OffsetOf(lines[last].lineEnd) + lines[last].lineEnd.size();
        changes.append({start, end - start, {}});
    }
    Apply(changes);
}

QList<SCatalogLine> CCatalogDocument::Lines() const
{
    QList<SCatalogLine> lines;
    CCatalogTokenizer tokenizer(m_text);
    for (SCatalogLine line; tokenizer.Next(line);)
        lines.append(line);
    return lines;
}

qsizetype CCatalogDocument::OffsetOf(QStringView part) const
{
    return part.data() - m_text.constData();
}

void CCatalogDocument::Apply(QList<SChange> changes)
{
    // From the end, so that the offsets of the changes still to come hold.
    std::sort(changes.begin(), changes.end(), [](const SChange &a, const SChange &b) { return a.nStart > b.nStart; });
    for (const SChange &change : changes)
        m_text.replace(change.nStart, change.nLength, change.strText);
    m_bIndexed = m_bIndexed && changes.isEmpty();
}

void CCatalogDocument::InsertAfter(const SCatalogLine &line, const QString &newLine)
{
    const qsizetype end = OffsetOf(line.lineEnd);
    if (line.lineEnd.isEmpty())
        Apply({{end, 0, LineEnd() + newLine}});
    else
        Apply({{end + line.lineEnd.size(), 0, newLine + LineEnd()}});
}

void CCatalogDocument::AppendSection(const QString &section, const QString &newLine)
{
    const QString end = LineEnd();
    QString text;
    if (!m_text.isEmpty() && !m_text.endsWith(u'\n') && !m_text.endsWith(u'\r'))
        text += end;
    const QList<SCatalogLine> lines = Lines();
    if (!lines.isEmpty() && !isBlankLine(lines.back()))
        text += end;
    text += u'[' + section + u']' + end + newLine + end;
    Apply({{m_text.size(), 0, text}});
}

QString CCatalogDocument::LineEnd() const
{
    CCatalogTokenizer tokenizer(m_text);
    SCatalogLine line;
    return tokenizer.Next(line) && !line.lineEnd.isEmpty() ? line.lineEnd.toString() : QStringLiteral("\n");
}

const CCatalogIndex &CCatalogDocument::Index() const
{
    if (!m_bIndexed)
        m_index.Load(m_text);
    m_bIndexed = true;
    return m_index;
}
