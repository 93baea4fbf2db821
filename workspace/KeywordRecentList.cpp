#include "workspace/KeywordRecentList.h"

#include <algorithm>

#include "platform/ProfileStore.h"

namespace
{
const QString kNumberPlaceholder = QStringLiteral("%d");

char16_t foldAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}
} // namespace

CKeywordRecentList::CKeywordRecentList(const QString &section, const QString &entryFormat, int size)
    : m_strSectionName(section)
    , m_strEntryFormat(entryFormat)
    , m_arrNames(static_cast<std::size_t>(std::max(size, 0)))
{
}

CKeywordRecentList::~CKeywordRecentList() = default;

bool CKeywordRecentList::EqualIgnoringAsciiCase(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (foldAscii(a.at(i).unicode()) != foldAscii(b.at(i).unicode()))
            return false;
    }
    return true;
}

void CKeywordRecentList::Add(const QString &text)
{
    const int size = GetSize();
    if (size == 0)
        return;

    // The scan stops before the last slot: a match there drops off the end
    // when everything shifts down, so the list never holds a keyword twice.
    int i = 0;
    while (i < size - 1) {
        if (EqualIgnoringAsciiCase(m_arrNames[static_cast<std::size_t>(i)], text))
            break;
        ++i;
    }
    for (int j = i; j > 0; --j)
        m_arrNames[static_cast<std::size_t>(j)] = m_arrNames[static_cast<std::size_t>(j - 1)];
    m_arrNames[0] = text;
}

void CKeywordRecentList::ReadList()
{
    const CProfileBatch batch;
    for (int i = 0; i < GetSize(); ++i)
        m_arrNames[static_cast<std::size_t>(i)] = GetProfileString(m_strSectionName, EntryName(i), QString());
}

void CKeywordRecentList::WriteList()
{
    // Deleting the section and writing the slots are one save, so the file
    // never holds the list half written.
    const CProfileBatch batch;
    DeleteProfileSection(m_strSectionName);
    for (int i = 0; i < GetSize(); ++i) {
        const QString &entry = m_arrNames[static_cast<std::size_t>(i)];
        if (!entry.isEmpty())
            WriteProfileString(m_strSectionName, EntryName(i), entry);
    }
}

int CKeywordRecentList::GetSize() const
{
    return static_cast<int>(m_arrNames.size());
}

QString CKeywordRecentList::operator[](int index) const
{
    if (index < 0 || index >= GetSize())
        return {};
    return m_arrNames[static_cast<std::size_t>(index)];
}

QString CKeywordRecentList::EntryName(int index) const
{
    QString name = m_strEntryFormat;
    const qsizetype at = name.indexOf(kNumberPlaceholder);
    if (at >= 0)
        name.replace(at, kNumberPlaceholder.size(), QString::number(index + 1));
    return name;
}
