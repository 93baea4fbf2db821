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
// Otherwise `engine` stays untouched and `error` receives a message for the
// user. Unreadable: a description over kOpenSearchMaxBytes, malformed XML, a
// document type declaration (descriptions need none; refusing it keeps
// entity expansion out), no ShortName, no usable Url. Refused, a description
// read whose engine the program cannot ask: an address that is not http or
// https, a method other than GET and POST, an input encoding that cannot be
// sent, a required parameter the program cannot fill (named in the message)
// or keywords that go nowhere.
enum class EOpenSearchRead
{
    Read,
    Unreadable,
    Refused,
};
EOpenSearchRead ReadOpenSearchDescription(QByteArrayView xml, SEngineDescription &engine, QString &error);

// The description in the file at `path`, read so; a file that cannot be
// opened, or a folder, is Unreadable, and so is one larger than
// kOpenSearchMaxBytes, which is not read beyond that.
EOpenSearchRead ReadOpenSearchFile(const QString &path, SEngineDescription &engine, QString &error);
