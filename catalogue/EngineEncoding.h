#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

// The charsets an engine may take its keywords in (the Encoding key of its
// section), converted by ICU. Only charsets that write printable ASCII as
// themselves are offered, so the fixed text of a template means the same in
// every one of them; UTF-16 and EBCDIC, say, are not.

// The charset `name` stands for, by its canonical name (ICU's MIME, IANA or
// Windows name: "windows-1251" for "cp1251", "Shift_JIS" for "sjis");
// empty when keywords cannot be sent in it. Letter case does not matter.
QString CanonicalEncodingName(QStringView name);

// True for UTF-8 under any of its names, and for an empty name (no Encoding key).
bool IsUtf8Encoding(QStringView name);

// The charsets the engine editor offers, by canonical name, UTF-8 first.
QStringList UsualEncodings();

// `text` in charset `encoding`. A character the charset cannot hold becomes
// "&#N;" with N its decimal code point, as browsers send forms in such
// charsets. For a few charsets the bytes are those of the superset browsers
// send for them (windows-949 for EUC-KR, GBK for GB2312, windows-1252 for
// ISO-8859-1), so a character outside the strict set still arrives as itself.
// An empty or unsupported `encoding` gives UTF-8.
QByteArray EncodeText(QStringView text, QStringView encoding);

// `bytes` read in charset `encoding`, as EncodeText writes it; a byte
// sequence the charset does not define becomes U+FFFD.
QString DecodeText(QByteArrayView bytes, QStringView encoding);

// The keywords' bytes (EncodeText's) made fit for where a "*" of a template
// stands. `utf8` tells that the bytes are UTF-8: their non-ASCII characters
// then stay as characters, for the browser to encode and the engine list to
// show readably; other bytes above 0x7F are always percent-encoded.
//
// In the path: "/", "?", "#", "%", "\" and control characters are
// percent-encoded, so the keywords stay one path segment.
QString EscapeKeywordsForPath(QByteArrayView bytes, bool utf8);
// In the query or fragment: "%", "&", "#", "+" and ";" are percent-encoded,
// so the keywords stay one parameter's value.
QString EscapeKeywordsForQuery(QByteArrayView bytes, bool utf8);
// In an application/x-www-form-urlencoded body: letters, digits and "*-._"
// stay, a space becomes "+", every other byte is percent-encoded.
QByteArray EscapeKeywordsForForm(QByteArrayView bytes);
