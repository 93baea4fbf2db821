#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include "catalogue/CatalogFile.h"
#include "catalogue/CatalogIndex.h"
#include "catalogue/EngineDescription.h"

// One fault found in a catalogue file. A line of 0 means the fault belongs to
// no single line (a missing section, say).
struct SCatalogProblem
{
    int nLine = 0;
    QString strMessage;
};

// Checks a catalogue file for what would make the program show "Error!",
// fail with "Initial GUI control failed !", cut a value short or search
// somewhere it should not. The file is read once; its values are found by
// the reader's rules (CCatalogIndex over the reader's tokenizer) and cut by
// the reader's cut, with the line each stands on.
class CCatalogChecker final
{
public:
    explicit CCatalogChecker(const QString &path);
    Q_DISABLE_COPY_MOVE(CCatalogChecker)

    enum class EResult
    {
        Clean,
        Problems,
        Unreadable,
    };

    // Reads and checks the whole file. After Unreadable, UnreadableReason()
    // says why; otherwise Problems() lists what was found, in file order
    // where a line applies.
    EResult Check();
    // Checks `bytes` as the content of the file (a catalogue not yet saved).
    EResult CheckBytes(const QByteArray &bytes);

    const QList<SCatalogProblem> &Problems() const;
    QString UnreadableReason() const;

    // The problems as printed by the command line: "FILE:LINE: message", or
    // "FILE: message" when no line applies.
    QStringList FormatProblems() const;

private:
    bool CheckEncoding(const QByteArray &bytes, bool invalid);

    // The value of key in section; false when the file has no such key. A
    // value longer than the program reads with `capacity` is reported and
    // cut as the program cuts it.
    bool ReadValue(const QString &section, const QString &key, int capacity, QString &value);
    int LineOf(const QString &section, const QString &key) const;
    int SectionLine(const QString &section) const;
    void Report(int line, const QString &message);

    QStringList SplitList(const QString &value, int line, const QString &what);
    void CheckLanguage(const QString &language);
    void CheckCategory(const QString &language, const QString &category);
    void CheckEngine(const QString &engine, int listedAt);
    QString ShownName(const QString &engine) const;

    QString m_strPath;
    QString m_strUnreadable;
    QList<SCatalogProblem> m_problems;
    CCatalogIndex m_index;
    QSet<int> m_checkedEngines; // by the line of the section's first header
};

// One fault of an engine's values and the key whose line it stands on (none:
// the section's header).
struct SEngineProblem
{
    QString strKey;
    QString strMessage;
};

// The checker's rules for one engine section, `section`, whose values
// `valueOf` gives by key (nothing for a key the section lacks), each value
// taken as the program reads it, cut to its capacity.
using EngineValueLookup = std::function<std::optional<QString>(const QString &key)>;
QList<SEngineProblem> CheckEngineValues(const QString &section, const EngineValueLookup &valueOf);
// The same rules for the section the engine editor would write for `engine`.
QList<SEngineProblem> CheckEngineValues(const QString &section, const SEngineDescription &engine);
