#include "workspace/KeywordRecentList.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

#include "platform/ProfileStore.h"

namespace
{
const QString kNumberPlaceholder = QStringLiteral("%d");

char16_t foldAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

QString fullPath(const QString &path)
{
    return path.isEmpty() ? path : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool samePath(const QString &a, const QString &b)
{
#ifdef Q_OS_WIN
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}
} // namespace

CKeywordRecentList::CKeywordRecentList(int firstDisplay, const QString &section, const QString &entryFormat,
                                       int size, bool plainEntries, int displayLength)
    : m_nStart(firstDisplay)
    , m_strSectionName(section)
    , m_strEntryFormat(entryFormat)
    , m_nMaxDisplayLength(displayLength)
    , m_arrNames(static_cast<std::size_t>(std::max(size, 0)))
    , m_bPlainEntries(plainEntries)
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
    const QString entry = m_bPlainEntries ? text : fullPath(text);

    // The scan stops before the last slot: a match there drops off the end
    // when everything shifts down, so the list never holds a keyword twice.
    int i = 0;
    while (i < size - 1) {
        const QString &slot = m_arrNames[static_cast<std::size_t>(i)];
        const bool same = m_bPlainEntries ? EqualIgnoringAsciiCase(slot, entry) : samePath(slot, entry);
        if (same)
            break;
        ++i;
    }
    for (int j = i; j > 0; --j)
        m_arrNames[static_cast<std::size_t>(j)] = m_arrNames[static_cast<std::size_t>(j - 1)];
    m_arrNames[0] = entry;
}

void CKeywordRecentList::ReadList()
{
    for (int i = 0; i < GetSize(); ++i)
        m_arrNames[static_cast<std::size_t>(i)] = GetProfileString(m_strSectionName, EntryName(i), QString());
}

void CKeywordRecentList::WriteList()
{
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

const QString &CKeywordRecentList::Section() const
{
    return m_strSectionName;
}

const QString &CKeywordRecentList::EntryFormat() const
{
    return m_strEntryFormat;
}

bool CKeywordRecentList::IsPlainEntries() const
{
    return m_bPlainEntries;
}
