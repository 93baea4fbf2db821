// libFuzzer target: the catalogue reader and the list rule on arbitrary bytes.
//
// Input layout: byte 0 picks the buffer capacity, byte 1 picks the section and
// key looked up, the rest is the catalogue file as it lies on disk. Every read
// goes through the real file, as the program's reads do.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "catalogue/CatalogFile.h"
#include "tools/fuzz/FuzzSupport.h"

namespace
{
// The list rule, checked by what it must preserve: joining the items again
// gives the text back, less one trailing separator.
void checkSplit(const QString &text)
{
    QStringList items;
    items.append(QStringLiteral("kept"));
    SplitString(text, items, QLatin1Char(';'));
    FuzzCheck(items.front() == QLatin1String("kept"));
    items.removeFirst();
    const QString joined = items.join(QLatin1Char(';'));
    const bool trailing = text.endsWith(QLatin1Char(';'));
    FuzzCheck(joined == (trailing ? text.chopped(1) : text));
    FuzzCheck(items.size() == (text.isEmpty() ? 0 : text.count(QLatin1Char(';')) + (trailing ? 0 : 1)));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const int capacities[] = {0, 1, 2, 7, kCatalogNameCapacity, kCatalogListCapacity, kCatalogUrlCapacity};
    static const char16_t *const lookups[][2] = {
        {u"LANGUAGES", u"Languages"}, {u"CATEGORYS", u"English"}, {u"English", u"Web"},
        {u"E", u"Name"},              {u"e", u"URL"},             {u"", u""},
        {u"日本語", u"ウェブ"},       {u"a b", u"k"},             {u"[x", u"=y"},
    };
    if (size < 2)
        return 0;
    const int capacity = capacities[data[0] % std::size(capacities)];
    const auto &lookup = lookups[data[1] % std::size(lookups)];
    const QByteArray file(reinterpret_cast<const char *>(data + 2), static_cast<qsizetype>(size - 2));

    const QString path = WriteFuzzFile(file);
    if (path.isEmpty())
        return 0;

    CCatalogFile catalog;
    catalog.m_szPath = path;
    FuzzCheck(catalog.Exists());

    QString value = QStringLiteral("stale");
    const int count = catalog.ReadString(QString::fromUtf16(lookup[0]), QString::fromUtf16(lookup[1]), value, capacity);
    FuzzCheck(count == value.size());
    FuzzCheck(count <= std::max(capacity - 1, 0));
    FuzzCheck(!value.contains(QChar(u'\0')) && !value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r')));

    // Nothing is cached: the same file reads the same again.
    QString again;
    FuzzCheck(catalog.ReadString(QString::fromUtf16(lookup[0]), QString::fromUtf16(lookup[1]), again, capacity) == count);
    FuzzCheck(again == value);

    checkSplit(value);
    checkSplit(QString::fromUtf8(file));
    return 0;
}
