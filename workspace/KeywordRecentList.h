#pragma once

#include <QString>

#include <vector>

// A most-recently-used list of fixed capacity kept in one section of the
// per-user profile, one string value per slot. Slot 0 is the newest entry; an
// empty string is a free slot. Value names come from the entry format, whose
// "%d" stands for the 1-based slot number. Entries are plain text.
class CKeywordRecentList
{
public:
    CKeywordRecentList(const QString &section, const QString &entryFormat, int size);
    virtual ~CKeywordRecentList();
    Q_DISABLE_COPY_MOVE(CKeywordRecentList)

    // Puts `text` in slot 0. An entry equal to it, ignoring the case of A to Z
    // only, moves to the front and takes the new text; otherwise the oldest
    // entry drops off when the list is full.
    virtual void Add(const QString &text);

    // Every slot from its profile value; an absent value is a free slot.
    virtual void ReadList();

    // Deletes the whole section, then writes every slot that is not free, in
    // one save of the profile.
    virtual void WriteList();

    int GetSize() const;

    // The entry in slot `index`; empty for a free slot or an index out of range.
    QString operator[](int index) const;

    // The profile value name of slot `index`.
    QString EntryName(int index) const;

    // Text comparison of entries: only A to Z match their lower-case forms;
    // every other character must match exactly.
    static bool EqualIgnoringAsciiCase(const QString &a, const QString &b);

protected:
    QString m_strSectionName;
    QString m_strEntryFormat;
    std::vector<QString> m_arrNames;
};
