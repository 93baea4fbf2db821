#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class CCatalogFile;
class CQuaerioView;

// A search asked for from outside the window: by the command line at start-up,
// or by a second start handing its command line to the running program.
// Names are matched without regard to letter case; empty means "as it is".
// A request without keywords searches nothing.
struct SSearchRequest
{
    QString strLanguage;
    QString strCategory;
    QString strKeywords;
    // Start the form afresh first, as File > New Search does.
    bool bNewSearch = false;

    bool HasKeywords() const;
    bool IsEmpty() const;
};

// The keyword box takes no more than this many characters.
inline constexpr int kRequestKeywordsLimit = 260;
// A name longer than a whole catalogue list cannot name anything.
inline constexpr int kRequestNameLimit = 259;
// Largest encoded request: three texts at their limits, each character
// written as at most three bytes of UTF-8, fit with room to spare.
inline constexpr qsizetype kMaxRequestBytes = 4096;

// The keywords given as separate arguments, joined by blanks, with control
// characters (which cannot be typed into the keyword box) made blanks and
// cut to what the keyword box takes.
QString JoinKeywords(const QStringList &arguments);

// Checks the request's names against the catalogue: the language among the
// languages; the category among that language's categories, or, without a
// language, among any language's. Empty when they are known, otherwise a
// message for the user naming what the catalogue offers.
QString CheckRequestNames(const CCatalogFile &catalog, const SSearchRequest &request);

// The request as sent to the running program, and back. Decoding rejects
// anything but a small object of the three texts within their limits, so
// that a message can ask for no more than a typed search.
QByteArray EncodeRequest(const SSearchRequest &request);
std::optional<SSearchRequest> DecodeRequest(const QByteArray &message);

// Does in the view what the user would do by hand: stops a search still
// running, chooses the language and the category, puts the keywords into the
// keyword box and clicks "&Search". False when the view does not know a name;
// the view then stays as it was.
bool ApplySearchRequest(CQuaerioView &view, const CCatalogFile &catalog, const SSearchRequest &request);
