#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

// Where a value stands: its section's and its key's names, equal to another
// where the reader would take one for the other (without regard to case).
struct SCatalogKey
{
    QStringView section;
    QStringView key;
};
bool operator==(const SCatalogKey &a, const SCatalogKey &b);
size_t qHash(const SCatalogKey &place, size_t seed = 0);

// A catalogue text read once, its values found by section and key as the
// reader finds them: sections of one name merge and the first occurrence of
// a key wins. Knows the line of each value and of each section's first
// header, for messages that point into the file.
class CCatalogIndex final
{
public:
    CCatalogIndex();
    Q_DISABLE_COPY_MOVE(CCatalogIndex)

    struct SValue
    {
        int nLine = 0;
        QStringView value;
    };

    // Forgets what was loaded and indexes `text`.
    void Load(QString text);

    // The value of `key` in `section`; nullptr when the text has none.
    const SValue *Find(QStringView section, QStringView key) const;
    // The line of the section's first valid header; 0 when there is none.
    int SectionLine(QStringView section) const;

private:
    QString m_text;
    // Keys and values are views of m_text: no name is copied.
    QHash<SCatalogKey, SValue> m_values;
    QHash<SCatalogKey, int> m_sections; // with empty keys
};
