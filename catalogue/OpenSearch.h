#pragma once

#include <QByteArrayView>
#include <QString>

#include "catalogue/EngineDescription.h"

// The largest description read, in bytes.
inline constexpr qsizetype kOpenSearchMaxBytes = 256 * 1024;

// Reads an OpenSearch 1.1 description (root OpenSearchDescription) or a
// Mozilla search plugin (root SearchPlugin) into `engine`:
// - the name is the ShortName;
// - the address is the first Url of type text/html or application/xhtml+xml
//   that gives search results, with its method (GET or POST); its Param
//   and MozParam children go into the query for GET, into the post data for
//   POST, encoded as a form is;
// - the encoding is the first InputEncoding that keywords can be sent in
//   (empty for UTF-8, as without an Encoding key).
// In the template, {searchTerms} becomes "*" and {inputEncoding} and
// {outputEncoding} the encodings; {count} is 20, {startIndex} and
// {startPage} the Url's first index and page, {language} "*" (any
// language, escaped so it is no keyword slot); an optional parameter
// ({name?}) the program does not know is left empty.
//
// False, with `engine` untouched and a message for the user in `error`, for
// a description over kOpenSearchMaxBytes, malformed XML, a document type
// declaration (descriptions need none; refusing it keeps entity expansion
// out), no ShortName, no usable Url, an address that is not http or https,
// an input encoding that cannot be sent, a required parameter the program
// cannot fill (named in the message) or keywords that go nowhere.
bool ReadOpenSearchDescription(QByteArrayView xml, SEngineDescription &engine, QString &error);
