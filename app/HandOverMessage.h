#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

#include "app/SearchRequest.h"

// The two lines of a hand-over between a later start and the running
// program. The later start sends its request; the running program carries it
// out and answers "OK", or "REFUSED" and, after a blank, why it could not.
// Both sides read what the other wrote as untrusted: the request can ask for
// no more than a typed search, and the reason is shown on a terminal.

// Largest encoded request: three texts at their limits, each character
// written as at most three bytes of UTF-8, fit with room to spare.
inline constexpr qsizetype kMaxRequestBytes = 4096;
// Largest answer line read, and the longest reason kept from it.
inline constexpr qsizetype kMaxAnswerBytes = 1024;
inline constexpr qsizetype kAnswerReasonLimit = 300;

// The request as sent to the running program, and back. Decoding rejects
// anything but a small object of the three texts within their limits and the
// New Search flag.
QByteArray EncodeRequest(const SSearchRequest &request);
std::optional<SSearchRequest> DecodeRequest(const QByteArray &message);

struct SHandOverAnswer
{
    bool bAccepted = false;
    QString strReason; // of a refusal; may be empty
};

// The answer line without its line feed, and back. A line that is not "OK"
// is a refusal (an older program sends "REFUSED" alone).
QByteArray EncodeAnswer(const SHandOverAnswer &answer);
SHandOverAnswer DecodeAnswer(const QByteArray &line);

// `text` with its control characters made blanks, cut to `limit` characters:
// text that can be typed, or printed without steering a terminal.
QString PlainText(const QString &text, qsizetype limit);
