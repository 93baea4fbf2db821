#include "catalogue/CatalogTokenizer.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

namespace
{
// Largest catalogue file read; a larger one is treated as unreadable.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView trimBlanks(QStringView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.mid(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

QStringView unquote(QStringView value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}
} // namespace

CCatalogTokenizer::CCatalogTokenizer(QStringView text)
    : m_text(text)
{
}

bool CCatalogTokenizer::Next(SCatalogLine &line)
{
    if (m_nPosition >= m_text.size())
        return false;
    qsizetype end = m_nPosition;
    while (end < m_text.size() && m_text[end] != u'\n' && m_text[end] != u'\r')
        ++end;
    qsizetype next = end;
    if (next < m_text.size())
        next += m_text[next] == u'\r' && next + 1 < m_text.size() && m_text[next + 1] == u'\n' ? 2 : 1;

    line = SCatalogLine();
    line.nNumber = ++m_nLine;
    line.raw = m_text.mid(m_nPosition, end - m_nPosition);
    line.lineEnd = m_text.mid(end, next - end);
    m_nPosition = next;
    Classify(line);
    return true;
}

void CCatalogTokenizer::Classify(SCatalogLine &line)
{
    QStringView text = line.raw;
    if (const qsizetype nul = text.indexOf(QChar(u'\0')); nul >= 0)
        text = text.left(nul);
    text = trimBlanks(text);
    if (text.isEmpty() || text.front() == u';')
        return;

    if (text.front() == u'[') {
        const qsizetype close = text.indexOf(u']');
        m_bInSection = close > 0;
        m_section = m_bInSection ? trimBlanks(text.mid(1, close - 1)) : QStringView();
        line.eKind = m_bInSection ? SCatalogLine::EKind::Section : SCatalogLine::EKind::NoSection;
        line.section = m_section;
        return;
    }
    const qsizetype equals = text.indexOf(u'=');
    if (!m_bInSection || equals < 0)
        return;
    line.eKind = SCatalogLine::EKind::Entry;
    line.section = m_section;
    line.key = trimBlanks(text.left(equals));
    line.value = unquote(trimBlanks(text.mid(equals + 1)));
}

bool SameCatalogName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

std::optional<QByteArray> ReadCatalogBytes(const QString &path, QString *reason)
{
    const auto fail = [reason](const QString &why) -> std::optional<QByteArray> {
        if (reason)
            *reason = why;
        return std::nullopt;
    };
    if (QFileInfo(path).isDir())
        return fail(QStringLiteral("is a directory"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    // Read up to the limit rather than trusting the reported size: a device
    // or a pipe reports 0 and might never end.
    QByteArray bytes(std::min(file.size(), kMaxFileSize) + 1, Qt::Uninitialized);
    qint64 length = 0;
    for (;;) {
        if (length == bytes.size()) {
            if (length > kMaxFileSize)
                return fail(QStringLiteral("is larger than 64 MiB"));
            bytes.resize(std::min(2 * length, kMaxFileSize + 1));
        }
        const qint64 read = file.read(bytes.data() + length, bytes.size() - length);
        if (read <= 0)
            break;
        length += read;
    }
    bytes.truncate(length);
    return bytes;
}

bool IsUtf16Catalog(QByteArrayView bytes)
{
    return bytes.startsWith("\xFF\xFE");
}

QString DecodeCatalogText(QByteArrayView bytes, bool *invalid)
{
    const bool utf16 = IsUtf16Catalog(bytes);
    QStringDecoder decoder(utf16 ? QStringConverter::Utf16LE : QStringConverter::Utf8);
    if (utf16)
        bytes = bytes.sliced(2);
    else if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QString text = decoder.decode(bytes);
    if (invalid)
        *invalid = decoder.hasError() || (utf16 && bytes.size() % 2 != 0);
    return text;
}
