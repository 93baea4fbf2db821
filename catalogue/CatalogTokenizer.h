#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// The lines of a catalogue file (Quaerio.CFG, a Windows-style profile file)
// and what each means under the rules the reader applies:
// - Section and key names match without regard to letter case.
// - Blanks (spaces and tabs) around section names, key names and values are
//   trimmed; a value's inner blanks stay. A value wrapped in one pair of
//   matching double or single quotes loses the quotes.
// - Lines starting with ";" (after blanks) are comments; lines that are
//   neither a "[section]" header nor contain "=" are ignored.
// - A header line without "]" opens no section; the lines after it belong to
//   no section until the next valid header.
// - CRLF, LF and CR end lines; a NUL character ends a line's text.
// Each line keeps its number, raw text and line end, so that the lines
// delivered give the text back exactly.
struct SCatalogLine
{
    enum class EKind
    {
        Ignored,   // blank, a comment, no "=", or a key outside any section
        Section,   // "[name]": the entries after it belong to section `section`
        NoSection, // "[" without "]": the entries after it belong to no section
        Entry,     // key=value inside section `section`
    };

    EKind eKind = EKind::Ignored;
    int nNumber = 0; // from 1, as an editor counts lines
    QStringView raw; // the line without its line end
    QStringView lineEnd; // "\r\n", "\n", "\r", or empty at the end of the text
    QStringView section; // Section and Entry: the section's name, trimmed
    QStringView key; // Entry: the key, trimmed
    QStringView value; // Entry: the value, trimmed and unquoted
};

// Delivers the lines of a catalogue text one by one.
class CCatalogTokenizer final
{
public:
    // `text` must outlive the tokenizer and the lines it delivers.
    explicit CCatalogTokenizer(QStringView text);
    Q_DISABLE_COPY_MOVE(CCatalogTokenizer)

    // The next line into `line`; false after the last one.
    bool Next(SCatalogLine &line);

private:
    void Classify(SCatalogLine &line);

    QStringView m_text;
    qsizetype m_nPosition = 0;
    int m_nLine = 0;
    bool m_bInSection = false;
    QStringView m_section;
};

// Names under the rules: equal without regard to letter case.
bool SameCatalogName(QStringView a, QStringView b);

// The bytes of the catalogue file at `path`: nothing, with the reason in
// `reason` if given, when the file cannot be opened or is larger than 64 MiB.
std::optional<QByteArray> ReadCatalogBytes(const QString &path, QString *reason = nullptr);

// The text of a catalogue file's bytes: UTF-16 LE after its byte-order mark,
// else UTF-8 with or without one. Bytes that are not valid UTF-8 become
// U+FFFD; `invalid`, if given, says whether there were any (or invalid or
// odd UTF-16).
QString DecodeCatalogText(QByteArrayView bytes, bool *invalid = nullptr);
// True when the bytes start with the UTF-16 LE byte-order mark.
bool IsUtf16Catalog(QByteArrayView bytes);
