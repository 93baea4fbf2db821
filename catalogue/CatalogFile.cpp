#include "catalogue/CatalogFile.h"

#include <filesystem>
#include <optional>

#include "catalogue/CatalogTokenizer.h"
#include "catalogue/TextCut.h"

namespace
{
CCatalogFile *&instance()
{
    static CCatalogFile *catalog = nullptr;
    return catalog;
}

// The value of key in section, or nothing when either is absent.
std::optional<QString> findValue(QStringView text, QStringView section, QStringView key)
{
    CCatalogTokenizer lines(text);
    for (SCatalogLine line; lines.Next(line);) {
        if (line.eKind == SCatalogLine::EKind::Entry && SameCatalogName(line.key, key)
            && SameCatalogName(line.section, section))
            return line.value.toString();
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

    const std::optional<QByteArray> bytes = ReadCatalogBytes(m_szPath);
    const std::optional<QString> value = bytes ? findValue(DecodeCatalogText(*bytes), section, key) : std::nullopt;
    buffer = CutToLength(value.value_or(QString::fromUtf16(kCatalogDefault)), capacity - 1);
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
