#pragma once

#include <QString>
#include <QStringList>

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

// What became of a request in the window: carried out, refused for a
// reason the user is told, or not possible now (a modal dialog is open).
struct SRequestOutcome
{
    enum class EState
    {
        Done,
        Refused,
        NotNow,
    };
    EState eState = EState::Done;
    QString strReason;
};

// The keyword box takes no more than this many characters.
inline constexpr int kRequestKeywordsLimit = 260;
// A name longer than a whole catalogue list cannot name anything.
inline constexpr int kRequestNameLimit = 259;

// The keywords given as separate arguments, joined by blanks, with control
// characters (which cannot be typed into the keyword box) made blanks and
// cut to what the keyword box takes.
QString JoinKeywords(const QStringList &arguments);

// Checks the request's names against the catalogue: the language among the
// languages; the category among that language's categories, or, without a
// language, among any language's. Empty when they are known, otherwise a
// message for the user naming what the catalogue offers.
QString CheckRequestNames(const CCatalogFile &catalog, const SSearchRequest &request);

// Does in the view what the user would do by hand: stops a search still
// running, chooses the language and the category, puts the keywords into the
// keyword box and clicks "&Search". False when the view does not know a name;
// the view then stays as it was.
bool ApplySearchRequest(CQuaerioView &view, const CCatalogFile &catalog, const SSearchRequest &request);
