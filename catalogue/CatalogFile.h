#pragma once

#include <QString>
#include <QStringList>

// Reader of the catalogue file Quaerio.CFG, a Windows-style profile (INI) file:
//
//   [Section]
//   Key=Value
//
// Rules, as the Windows profile reader applies them:
// - Section and key names match without regard to letter case.
// - Blanks (spaces and tabs) around section names, key names and values are
//   trimmed; a value's inner blanks stay. A value wrapped in one pair of
//   matching double or single quotes loses the quotes.
// - Lines starting with ";" (after blanks) are comments; lines that are
//   neither a "[section]" header nor contain "=" are ignored.
// - A header line without "]" opens no section; the lines after it belong to
//   no section until the next valid header.
// - Duplicate sections are merged; within a section the first occurrence of a
//   key wins.
// - Encoding: UTF-16 LE with its byte-order mark, or UTF-8 with or without a
//   byte-order mark; CRLF, LF and CR line ends. Bytes that are not valid UTF-8
//   become U+FFFD; NUL characters end a line's text.
//
// The file is read afresh on every call, so a change on disk is seen by the
// next read. Nothing is cached.
class CCatalogFile
{
public:
    CCatalogFile();
    virtual ~CCatalogFile();
    Q_DISABLE_COPY_MOVE(CCatalogFile)

    // Full path of the catalogue file; empty after construction.
    QString m_szPath;

    // True when a file or a directory exists at m_szPath.
    bool Exists() const;

    // Reads the value of `key` in `section` into `buffer`, cut to capacity - 1
    // characters (one fewer where the cut would split a surrogate pair), and returns the number of characters delivered. An absent
    // section or key, or a file that cannot be read, delivers "Error!" (6);
    // a present but empty value delivers "" (0). A capacity of 0 or less
    // delivers nothing and returns 0.
    int ReadString(const QString &section, const QString &key, QString &buffer, int capacity) const;
};

// Capacities of the callers' buffers, in characters including the terminator.
inline constexpr int kCatalogListCapacity = 260;
inline constexpr int kCatalogNameCapacity = 64;
inline constexpr int kCatalogUrlCapacity = 512;

// The default text delivered for an absent value.
inline constexpr char16_t kCatalogDefault[] = u"Error!";

// The one reader of the process, created with an empty path on first call.
CCatalogFile *GetCatalogFile();

// Deletes the one reader; the next GetCatalogFile creates a new one.
void DestroyCatalogFile();

// Cuts `text` at every `separator` and appends the pieces to `items`: pieces
// are not trimmed, empty pieces are kept, except the empty text after a last
// separator (so "a;b;" gives two items and "" gives none).
void SplitString(const QString &text, QStringList &items, QChar separator);
