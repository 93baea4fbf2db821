#include "catalogue/CatalogIndex.h"

#include "catalogue/CatalogTokenizer.h"

namespace
{
// A hash that is the same for names SameCatalogName matches: the simple case
// folding of each code point, as the comparison folds.
size_t foldedHash(QStringView name, size_t seed)
{
    size_t hash = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t c = name[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < name.size() && name[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), name[++i].unicode());
        hash = hash * 31 + QChar::toCaseFolded(c);
    }
    return qHash(hash, seed);
}
} // namespace

bool operator==(const SCatalogKey &a, const SCatalogKey &b)
{
    return SameCatalogName(a.key, b.key) && SameCatalogName(a.section, b.section);
}

size_t qHash(const SCatalogKey &place, size_t seed)
{
    return foldedHash(place.key, foldedHash(place.section, seed));
}

CCatalogIndex::CCatalogIndex() = default;

void CCatalogIndex::Load(QString text)
{
    m_values.clear();
    m_sections.clear();
    m_text = std::move(text);
    CCatalogTokenizer lines(m_text);
    for (SCatalogLine line; lines.Next(line);) {
        if (line.eKind == SCatalogLine::EKind::Section) {
            if (!m_sections.contains({line.section, {}}))
                m_sections.insert({line.section, {}}, line.nNumber);
        } else if (line.eKind == SCatalogLine::EKind::Entry) {
            if (!m_values.contains({line.section, line.key}))
                m_values.insert({line.section, line.key}, {line.nNumber, line.value});
        }
    }
}

const CCatalogIndex::SValue *CCatalogIndex::Find(QStringView section, QStringView key) const
{
    const auto found = m_values.constFind({section, key});
    return found == m_values.constEnd() ? nullptr : &*found;
}

int CCatalogIndex::SectionLine(QStringView section) const
{
    return m_sections.value({section, {}}, 0);
}
