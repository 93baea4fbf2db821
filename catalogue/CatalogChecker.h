#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include "catalogue/CatalogFile.h"

// One fault found in a catalogue file. A line of 0 means the fault belongs to
// no single line (a missing section, say).
struct SCatalogProblem
{
    int nLine = 0;
    QString strMessage;
};

// Checks a catalogue file for what would make the program show "Error!",
// fail with "Initial GUI control failed !", cut a value short or search
// somewhere it should not. Values are read through the program's own reader;
// the file's lines are scanned alongside only to say where each value stands.
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

    const QList<SCatalogProblem> &Problems() const;
    QString UnreadableReason() const;

    // The problems as printed by the command line: "FILE:LINE: message", or
    // "FILE: message" when no line applies.
    QStringList FormatProblems() const;

private:
    bool ReadLines();
    bool CheckEncoding(const QByteArray &bytes);
    void IndexLines(const QString &text);

    // The value of key in section through the reader; false when the file
    // has no such key. A value longer than the program reads with
    // `capacity` is reported and cut as the program cuts it.
    bool ReadValue(const QString &section, const QString &key, int capacity, QString &value);
    int LineOf(const QString &section, const QString &key) const;
    int SectionLine(const QString &section) const;
    void Report(int line, const QString &message);

    QStringList SplitList(const QString &value, int line, const QString &what);
    void CheckLanguage(const QString &language);
    void CheckCategory(const QString &language, const QString &category);
    void CheckEngine(const QString &engine, int listedAt);

    CCatalogFile m_reader;
    QString m_strUnreadable;
    QList<SCatalogProblem> m_problems;
    // Line of the first occurrence of each key, keyed by folded section and
    // key names joined by a NUL; and of each section's first header.
    QHash<QString, int> m_keyLines;
    QHash<QString, int> m_sectionLines;
    QHash<QString, QString> m_shownNames; // engine section → name as the program shows it
    QSet<QString> m_checkedEngines; // folded section names
};
