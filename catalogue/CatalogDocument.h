#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

#include "catalogue/CatalogIndex.h"

struct SCatalogLine;

// A catalogue file held for editing. Values are found by the reader's rules
// (catalogue/CatalogTokenizer.h: names without regard to letter case,
// sections of one name merged, the first of a key wins), and a change
// rewrites only the lines it concerns: every other line keeps its text and
// line end, and the file keeps its encoding (UTF-8 with or without a
// byte-order mark, UTF-16 LE with one), so its bytes outside the changed
// lines stay as they were. New lines end as the file's first line does.
//
// Names given to the changes must be ones the format can hold (no line
// break; a section name without "]", a key without "=" that does not start
// with "[" or ";"); values may hold anything but a line break or NUL and
// are quoted where the reader would otherwise trim or unquote them.
class CCatalogDocument final
{
public:
    CCatalogDocument();
    Q_DISABLE_COPY_MOVE(CCatalogDocument)

    // Takes the bytes of a catalogue file. False, with the reason, when
    // their text would not give them back (not valid UTF-8 or UTF-16):
    // writing such a file would change lines nobody edited.
    bool SetBytes(const QByteArray &bytes, QString *reason = nullptr);
    bool Load(const QString &path, QString *reason = nullptr);
    QByteArray Bytes() const;
    // Replaces the file at `path` in one step (a crash leaves the old file or
    // the new one, never half of one), making its folder first if needed.
    bool Save(const QString &path, QString *reason = nullptr) const;

    std::optional<QString> Value(QStringView section, QStringView key) const;
    bool HasSection(QStringView section) const;
    // The names of the sections, each once, in the order they first appear.
    QStringList Sections() const;

    // Sets the value the reader finds; a key it does not find is added after
    // the section's last value, a section it does not find at the end.
    void SetValue(const QString &section, const QString &key, const QString &value);
    // Removes every line of the key in the section.
    void RemoveKey(QStringView section, QStringView key);
    // Renames every line of the key; lines of `newKey` in the section go first.
    void RenameKey(QStringView section, QStringView oldKey, const QString &newKey);
    // Renames every header of the section.
    void RenameSection(QStringView oldName, const QString &newName);
    // Removes every part of the section: its header with the comments right
    // above it and the blank lines above those, and its lines up to its last
    // value (comments after that belong to what follows).
    void RemoveSection(QStringView section);

private:
    enum class EEncoding
    {
        Utf8,
        Utf8WithMark,
        Utf16,
    };
    // A stretch of the text to be replaced.
    struct SChange
    {
        qsizetype nStart = 0;
        qsizetype nLength = 0;
        QString strText;
    };

    // The lines as the tokenizer delivers them; views of m_text, valid until
    // the next change.
    QList<SCatalogLine> Lines() const;
    qsizetype OffsetOf(QStringView part) const;
    // Applies changes that do not overlap.
    void Apply(QList<SChange> changes);
    void InsertAfter(const SCatalogLine &line, const QString &newLine);
    void AppendSection(const QString &section, const QString &newLine);
    QString LineEnd() const;
    // The values of the text as it stands, indexed once per change.
    const CCatalogIndex &Index() const;

    QString m_text;
    EEncoding m_eEncoding = EEncoding::Utf8;
    mutable CCatalogIndex m_index;
    mutable bool m_bIndexed = false;
};
