#include "catalogue/EngineEncoding.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>

namespace
{
struct SConverterClose
{
    void operator()(UConverter *converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, SConverterClose>;

ConverterPtr OpenConverter(const char *name)
{
    UErrorCode error = U_ZERO_ERROR;
    ConverterPtr converter(ucnv_open(name, &error));
    return U_SUCCESS(error) ? std::move(converter) : nullptr;
}

// The name as ICU may be asked for it: ASCII letters, digits and the
// punctuation of charset names, within a charset name's length. Anything
// else (ICU's own option syntax too) names no charset here.
QByteArray IcuName(QStringView name)
{
    constexpr qsizetype kLongest = 63;
    if (name.isEmpty() || name.size() > kLongest)
        return {};
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        const bool allowed = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9')
            || u == u'-' || u == u'_' || u == u'.' || u == u':' || u == u'+';
        if (!allowed)
            return {};
    }
    return name.toLatin1();
}

// ICU's own name of the converter `name` opens; empty when there is none.
QByteArray ConverterNameOf(const char *name)
{
    const ConverterPtr converter = OpenConverter(name);
    UErrorCode error = U_ZERO_ERROR;
    return converter ? QByteArray(ucnv_getName(converter.get(), &error)) : QByteArray();
}

// A template's fixed text and the separators the keywords are escaped
// against are printable ASCII; a charset that writes them otherwise would
// change their meaning.
bool WritesPrintableAsciiAsItself(UConverter *converter)
{
    char16_t ascii[0x7F - 0x20];
    for (char16_t c = 0x20; c < 0x7F; ++c)
        ascii[c - 0x20] = c;
    char bytes[4 * std::size(ascii)];
    UErrorCode error = U_ZERO_ERROR;
    const int32_t length = ucnv_fromUChars(converter, bytes, sizeof bytes, ascii, std::size(ascii), &error);
    if (U_FAILURE(error) || length != static_cast<int32_t>(std::size(ascii)))
        return false;
    for (int32_t i = 0; i < length; ++i) {
        if (static_cast<char16_t>(bytes[i]) != ascii[i])
            return false;
    }
    return true;
}

// Servers that declare these charsets get from browsers the bytes of a
// superset (the WHATWG encoding standard's encoders), and read them so.
const char *SentAs(const QByteArray &canonical)
{
    static constexpr struct
    {
        const char *declared;
        const char *sent;
    } kSupersets[] = {
        {"EUC-KR", "windows-949"},
        {"GB2312", "GBK"},
        {"ISO-8859-1", "windows-1252"},
        {"US-ASCII", "windows-1252"},
        {"ISO-8859-9", "windows-1254"},
    };
    for (const auto &superset : kSupersets) {
        if (canonical == superset.declared)
            return superset.sent;
    }
    return canonical.constData();
}

// The converter keywords in `encoding` are written and read with; UTF-8's
// for an empty or unsupported encoding.
ConverterPtr ConverterFor(QStringView encoding)
{
    const QByteArray canonical = CanonicalEncodingName(encoding).toLatin1();
    return OpenConverter(canonical.isEmpty() ? "UTF-8" : SentAs(canonical));
}

// A character the charset cannot hold is written as "&#N;". ICU's own
// escaping callback leaves out default-ignorable characters (joiners,
// variation selectors, tags) instead; browsers send them as references too.
// A lone surrogate is no character: it goes as U+FFFD, as browsers send it.
void WriteCharacterReference(const void *, UConverterFromUnicodeArgs *args, const UChar *, int32_t, UChar32 codePoint,
                             UConverterCallbackReason reason, UErrorCode *error)
{
    if (reason > UCNV_IRREGULAR)
        return;
    *error = U_ZERO_ERROR;
    if (reason != UCNV_UNASSIGNED) {
        const UChar replacement = 0xFFFD;
        const UChar *begin = &replacement;
        ucnv_cbFromUWriteUChars(args, &begin, begin + 1, 0, error);
        return;
    }
    const QString reference = QStringLiteral("&#%1;").arg(codePoint);
    const UChar *begin = QStringView(reference).utf16();
    ucnv_cbFromUWriteUChars(args, &begin, begin + reference.size(), 0, error);
}

// The characters' or bytes' count as ICU takes it, small enough that what
// they become, references and all, is still counted in 32 bits; a longer
// text (never keywords or a description) is cut.
int32_t IcuLength(qsizetype size)
{
    return static_cast<int32_t>(std::min<qsizetype>(size, INT32_MAX / 16));
}

void AppendPercentEscape(QByteArray &out, unsigned char byte)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
}

bool BreaksPathSegment(unsigned char byte)
{
    return byte == '/' || byte == '?' || byte == '#' || byte == '%' || byte == '\\' || byte < 0x20 || byte == 0x7F;
}

bool BreaksQuery(unsigned char byte)
{
    return byte == '%' || byte == '&' || byte == '#' || byte == '+' || byte == ';';
}

QString EscapeForUrl(QByteArrayView bytes, bool utf8, bool (*breaks)(unsigned char))
{
    QByteArray out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (breaks(byte) || (byte > 0x7F && !utf8))
            AppendPercentEscape(out, byte);
        else
            out += c;
    }
    return utf8 ? QString::fromUtf8(out) : QString::fromLatin1(out);
}
} // namespace

QString CanonicalEncodingName(QStringView name)
{
    const QByteArray asked = IcuName(name);
    const ConverterPtr converter = asked.isEmpty() ? nullptr : OpenConverter(asked.constData());
    if (!converter || !WritesPrintableAsciiAsItself(converter.get()))
        return {};
    UErrorCode error = U_ZERO_ERROR;
    const QByteArray own = ucnv_getName(converter.get(), &error);
    // The first standard's name that leads back to the same converter; the
    // name as asked when no standard has one ("ISO-8859-11").
    for (const char *standard : {"MIME", "IANA", "WINDOWS"}) {
        error = U_ZERO_ERROR;
        const char *standardName = ucnv_getStandardName(own.constData(), standard, &error);
        if (standardName && ConverterNameOf(standardName) == own)
            return QString::fromLatin1(standardName);
    }
    return QString::fromLatin1(asked);
}

bool IsUtf8Encoding(QStringView name)
{
    return name.isEmpty() || CanonicalEncodingName(name) == u"UTF-8";
}

QStringList UsualEncodings()
{
    // By script, each script's most used charset first.
    static const char *const kUsual[] = {
        "UTF-8",
        "windows-1252", "ISO-8859-1", "ISO-8859-15", "macintosh",                      // Western European
        "windows-1250", "ISO-8859-2",                                                   // Central European
        "windows-1251", "KOI8-R", "KOI8-U", "ISO-8859-5", "IBM866", "x-mac-cyrillic",  // Cyrillic
        "windows-1253", "ISO-8859-7",                                                   // Greek
        "windows-1254", "ISO-8859-9", "ISO-8859-3",                                     // Turkish, South European
        "windows-1255", "ISO-8859-8",                                                   // Hebrew
        "windows-1256", "ISO-8859-6",                                                   // Arabic
        "windows-1257", "ISO-8859-13", "ISO-8859-4",                                    // Baltic
        "ISO-8859-10", "ISO-8859-14", "ISO-8859-16",                                    // Nordic, Celtic, Romanian
        "windows-1258",                                                                 // Vietnamese
        "windows-874", "ISO-8859-11",                                                   // Thai
        "Shift_JIS", "EUC-JP", "ISO-2022-JP",                                           // Japanese
        "GB18030", "GBK", "GB2312",                                                     // Simplified Chinese
        "Big5", "Big5-HKSCS",                                                           // Traditional Chinese
        "EUC-KR",                                                                       // Korean
    };
    QStringList usual;
    for (const char *name : kUsual) {
        const QString canonical = CanonicalEncodingName(QString::fromLatin1(name));
        if (!canonical.isEmpty() && !usual.contains(canonical))
            usual.append(canonical);
    }
    return usual;
}

QByteArray EncodeText(QStringView text, QStringView encoding)
{
    const ConverterPtr converter = ConverterFor(encoding);
    if (!converter)
        return {};
    UErrorCode error = U_ZERO_ERROR;
    ucnv_setFromUCallBack(converter.get(), WriteCharacterReference, nullptr, nullptr, nullptr, &error);
    const int32_t length = IcuLength(text.size());
    const int32_t needed = ucnv_fromUChars(converter.get(), nullptr, 0, text.utf16(), length, &error);
    QByteArray bytes(needed, Qt::Uninitialized);
    error = U_ZERO_ERROR;
    ucnv_fromUChars(converter.get(), bytes.data(), needed, text.utf16(), length, &error);
    return U_SUCCESS(error) ? bytes : QByteArray();
}

QString DecodeText(QByteArrayView bytes, QStringView encoding)
{
    const ConverterPtr converter = ConverterFor(encoding);
    if (!converter)
        return {};
    UErrorCode error = U_ZERO_ERROR;
    const int32_t length = IcuLength(bytes.size());
    const int32_t needed = ucnv_toUChars(converter.get(), nullptr, 0, bytes.data(), length, &error);
    QString text(needed, Qt::Uninitialized);
    error = U_ZERO_ERROR;
    ucnv_toUChars(converter.get(), reinterpret_cast<char16_t *>(text.data()), needed, bytes.data(), length, &error);
    return U_SUCCESS(error) ? text : QString();
}

QString EscapeKeywordsForPath(QByteArrayView bytes, bool utf8)
{
    return EscapeForUrl(bytes, utf8, BreaksPathSegment);
}

QString EscapeKeywordsForQuery(QByteArrayView bytes, bool utf8)
{
    return EscapeForUrl(bytes, utf8, BreaksQuery);
}

QByteArray EscapeKeywordsForForm(QByteArrayView bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        const bool stays = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9')
            || byte == '*' || byte == '-' || byte == '.' || byte == '_';
        if (stays)
            out += c;
        else if (byte == ' ')
            out += '+';
        else
            AppendPercentEscape(out, byte);
    }
    return out;
}
