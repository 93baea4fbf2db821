#pragma once

#include <QString>
#include <QStringView>

#include <optional>

#include "catalogue/CatalogFile.h"

// How an engine is asked: GET puts the keywords into the address only; POST
// also sends a form body (application/x-www-form-urlencoded) made from the
// engine's post data template.
enum class EEngineMethod
{
    Get,
    Post,
};

// One engine as a catalogue section describes it, and as an OpenSearch
// description or the engine editor delivers it.
struct SEngineDescription
{
    QString strName;
    // The query address; every "*" becomes the keywords.
    QString strUrl;
    // The charset the keywords are sent in; empty for none given (UTF-8).
    QString strEncoding;
    EEngineMethod eMethod = EEngineMethod::Get;
    // POST only: the form body; every "*" becomes the keywords.
    QString strPostData;

    friend bool operator==(const SEngineDescription &, const SEngineDescription &) = default;
};

// The keys of an engine's section besides Name and URL. A section without
// them describes a UTF-8 GET engine, as every catalogue did before them.
inline constexpr char16_t kEngineEncodingKey[] = u"Encoding";
inline constexpr char16_t kEngineMethodKey[] = u"Method";
inline constexpr char16_t kEnginePostDataKey[] = u"PostData";
// The capacities they are read with, as CatalogFile.h counts them: a charset
// name as long as an engine's name, post data as long as a URL.
inline constexpr int kCatalogEncodingCapacity = kCatalogNameCapacity;
inline constexpr int kCatalogMethodCapacity = kCatalogNameCapacity;
inline constexpr int kCatalogPostDataCapacity = kCatalogUrlCapacity;

// The value of Method for `method`: "GET" or "POST".
QString EngineMethodName(EEngineMethod method);
// The method a Method value names, without regard to letter case; nothing
// for any other value.
std::optional<EEngineMethod> ParseEngineMethod(QStringView value);
