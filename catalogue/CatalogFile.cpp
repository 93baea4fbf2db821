#include "catalogue/CatalogFile.h"

#include <QFile>
#include <QStringDecoder>

#include <filesystem>
#include <optional>

namespace
{
// Largest catalogue file read; a larger one is treated as unreadable.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;
constexpr qint64 kReadPieceSize = 64 * 1024;

CCatalogFile *&instance()
{
    static CCatalogFile *catalog = nullptr;
    return catalog;
}

QString decode(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder decoder(QStringConverter::Utf16LE);
        return decoder.decode(QByteArrayView(bytes).sliced(2));
    }
    QStringDecoder decoder(QStringConverter::Utf8);
    QString text = decoder.decode(bytes.startsWith("\xEF\xBB\xBF") ? QByteArrayView(bytes).sliced(3) : QByteArrayView(bytes));
    return text;
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QStringView trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

QStringView unquote(QStringView value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

// The value of key in section, or nothing when either is absent.
std::optional<QString> findValue(const QString &text, QStringView section, QStringView key)
{
    bool inSection = false;
    qsizetype pos = 0;
    while (pos <= text.size()) {
        qsizetype end = pos;
        while (end < text.size() && text[end] != QLatin1Char('\n') && text[end] != QLatin1Char('\r'))
            ++end;
        QStringView line = QStringView(text).mid(pos, end - pos);
        pos = end + 1;

        // A NUL ends the line's text.
        const qsizetype nul = line.indexOf(QChar(u'\0'));
        if (nul >= 0)
            line = line.left(nul);
        line = trimBlanks(line);
        if (line.isEmpty() || line.front() == QLatin1Char(';'))
            continue;

        if (line.front() == QLatin1Char('[')) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            inSection = close > 0 && trimBlanks(line.mid(1, close - 1)).compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        if (trimBlanks(line.left(equals)).compare(key, Qt::CaseInsensitive) == 0)
            return unquote(trimBlanks(line.mid(equals + 1))).toString();
    }
    return std::nullopt;
}
} // namespace

CCatalogFile::CCatalogFile() = default;

CCatalogFile::~CCatalogFile() = default;

bool CCatalogFile::Exists() const
{
    if (m_szPath.isEmpty())
        return false;
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(m_szPath.toStdU16String()), error);
}

int CCatalogFile::ReadString(const QString &section, const QString &key, QString &buffer, int capacity) const
{
    buffer.clear();
    if (capacity <= 0)
        return 0;

    std::optional<QString> value;
    QFile file(m_szPath);
    if (!m_szPath.isEmpty() && file.open(QIODevice::ReadOnly) && file.size() <= kMaxFileSize) {
        // Read in pieces up to the limit rather than trusting the reported
        // size: a device or a pipe reports 0 and might never end.
        QByteArray bytes;
        while (bytes.size() <= kMaxFileSize) {
            const QByteArray piece = file.read(kReadPieceSize);
            if (piece.isEmpty())
                break;
            bytes += piece;
        }
        if (bytes.size() <= kMaxFileSize)
            value = findValue(decode(bytes), section, key);
    }

    buffer = value.value_or(QString::fromUtf16(kCatalogDefault));
    if (buffer.size() > capacity - 1) {
        // Never keep half of a character: a cut that would split a surrogate
        // pair goes before the pair.
        qsizetype length = capacity - 1;
        if (length > 0 && buffer.at(length - 1).isHighSurrogate())
            --length;
        buffer.truncate(length);
    }
    return static_cast<int>(buffer.size());
}

CCatalogFile *GetCatalogFile()
{
    if (!instance())
        instance() = new CCatalogFile;
    return instance();
}

void DestroyCatalogFile()
{
    delete instance();
    instance() = nullptr;
}

void SplitString(const QString &text, QStringList &items, QChar separator)
{
    qsizetype start = 0;
    for (qsizetype found = text.indexOf(separator); found >= 0; found = text.indexOf(separator, start)) {
        items.append(text.mid(start, found - start));
        start = found + 1;
    }
    if (start < text.size())
        items.append(text.mid(start));
}
