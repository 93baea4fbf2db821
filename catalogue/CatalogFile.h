#pragma once

#include <QString>
#include <QStringList>

// Reader of the catalogue file Quaerio.CFG, a Windows-style profile (INI) file:
//
//   [Section]
//   Key=Value
//
// read under the rules of the Windows profile reader, which
// catalogue/CatalogTokenizer.h spells out. Duplicate sections are merged;
// within a section the first occurrence of a key wins. Encoding: UTF-16 LE
// with its byte-order mark, or UTF-8 with or without a byte-order mark.
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
    // characters by CutToLength (one fewer where the cut would split a
    // surrogate pair), and returns the number of characters delivered. An absent
    // section or key, or a file that cannot be read, delivers "Error!" (6);
    // a present but empty value delivers "" (0). A capacity of 0 or less
    // delivers nothing and returns 0.
    int ReadString(const QString &section, const QString &key, QString &buffer, int capacity) const;
};

// Capacities of the callers' buffers, in characters including the terminator.
inline constexpr int kCatalogListCapacity = 260;
inline constexpr int kCatalogNameCapacity = 64;
inline constexpr int kCatalogUrlCapacity = 512;

// The catalogue's fixed names: the languages are listed in key Languages of
// section LANGUAGES, each language's categories in a key of section
// CATEGORYS; an engine's section has its Name and its URL.
inline constexpr char16_t kCatalogLanguagesSection[] = u"LANGUAGES";
inline constexpr char16_t kCatalogLanguagesKey[] = u"Languages";
inline constexpr char16_t kCatalogCategoriesSection[] = u"CATEGORYS";
inline constexpr char16_t kCatalogNameKey[] = u"Name";
inline constexpr char16_t kCatalogUrlKey[] = u"URL";

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
