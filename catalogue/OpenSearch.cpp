#include "catalogue/OpenSearch.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStringList>
#include <QXmlStreamReader>

#include <optional>

#include "catalogue/EngineEncoding.h"

namespace
{
struct SParam
{
    QString strName;
    QString strValue;
};

// The Url element a search is made from.
struct SResultsUrl
{
    QString strTemplate;
    QString strMethod;
    QString strIndexOffset;
    QString strPageOffset;
    QList<SParam> params;
};

// An attribute by its local name, in any namespace: the OpenSearch
// parameter extension writes parameters:method where browsers read method.
QString Attribute(const QXmlStreamAttributes &attributes, const char *name)
{
    for (const QXmlStreamAttribute &attribute : attributes) {
        if (attribute.name() == QLatin1StringView(name))
            return attribute.value().toString();
    }
    return {};
}

// The value OpenSearch gives a parameter the description leaves to its
// clients: the first item's index or page when the Url names none.
QString OffsetOr1(const QString &offset)
{
    bool number = false;
    offset.trimmed().toInt(&number);
    return number ? offset.trimmed() : QStringLiteral("1");
}

bool IsResultsPage(const QXmlStreamAttributes &attributes)
{
    const QString type = Attribute(attributes, "type").section(u';', 0, 0).trimmed();
    if (type.compare(u"text/html", Qt::CaseInsensitive) != 0 && type.compare(u"application/xhtml+xml", Qt::CaseInsensitive) != 0)
        return false;
    // A rel that names no results (suggestions, the description itself, a
    // search form) is no search; an empty one means results.
    const QStringList rel = Attribute(attributes, "rel").split(u' ', Qt::SkipEmptyParts);
    return rel.isEmpty() || rel.contains(u"results");
}

// A template parameter's name between braces: "searchTerms", "count?",
// "moz:locale"; no braces, blanks or slashes inside.
bool IsParameter(QStringView name)
{
    if (name.isEmpty() || name == u"?")
        return false;
    for (const QChar c : name) {
        if (c == u'{' || c == u'/' || c.isSpace())
            return false;
    }
    return true;
}

class COpenSearchReader final
{
public:
    explicit COpenSearchReader(QByteArrayView xml);
    Q_DISABLE_COPY_MOVE(COpenSearchReader)

    bool Read(SEngineDescription &engine);
    QString Error() const;
    bool Refused() const;

private:
    bool Fail(const QString &message);
    // A description read whose engine the program cannot ask.
    bool Refuse(const QString &message);
    bool FailMalformed();
    bool ReadRoot();
    void ReadDescription();
    void ReadUrl();
    void ReadParam(QList<SParam> &params);
    bool ChooseEncoding();
    bool Expand(QStringView text, QString (COpenSearchReader::*fixed)(QStringView) const, QString &out);
    std::optional<QString> ValueOf(QStringView name) const;
    QString FixedUrlText(QStringView text) const;
    QString FormField(QStringView text) const;
    bool MakeEngine(SEngineDescription &engine);
    bool AddParams(SEngineDescription &engine);

    QXmlStreamReader m_xml;
    QString m_strError;
    bool m_bRefused = false;
    QString m_strShortName;
    QStringList m_inputEncodings;
    QString m_strOutputEncoding;
    std::optional<SResultsUrl> m_url;
    QString m_strEncoding; // canonical
};

COpenSearchReader::COpenSearchReader(QByteArrayView xml)
    : m_xml(xml.toByteArray())
{
}

QString COpenSearchReader::Error() const
{
    return m_strError;
}

bool COpenSearchReader::Fail(const QString &message)
{
    if (m_strError.isEmpty())
        m_strError = message;
    return false;
}

bool COpenSearchReader::Refused() const
{
    return m_bRefused;
}

bool COpenSearchReader::Refuse(const QString &message)
{
    m_bRefused = m_strError.isEmpty();
    return Fail(message);
}

bool COpenSearchReader::FailMalformed()
{
    return Fail(QStringLiteral("the description is not well-formed XML: %1 (line %2, column %3)")
                    .arg(m_xml.errorString())
                    .arg(m_xml.lineNumber())
                    .arg(m_xml.columnNumber()));
}

bool COpenSearchReader::Read(SEngineDescription &engine)
{
    if (!ReadRoot())
        return false;
    ReadDescription();
    while (!m_xml.atEnd())
        m_xml.readNext();
    if (m_xml.hasError())
        return FailMalformed();
    return MakeEngine(engine);
}

// Up to the root element; a document type declaration ends the reading
// before any entity it declares can be expanded.
bool COpenSearchReader::ReadRoot()
{
    while (m_xml.readNext() != QXmlStreamReader::StartElement) {
        if (m_xml.tokenType() == QXmlStreamReader::DTD)
            return Fail(QStringLiteral("the description declares a document type, which descriptions do not use"));
        if (m_xml.hasError())
            return FailMalformed();
    }
    if (m_xml.name() != u"OpenSearchDescription" && m_xml.name() != u"SearchPlugin")
        return Fail(QStringLiteral("the file is no OpenSearch description: its root element is <%1>, not <OpenSearchDescription> or <SearchPlugin>")
                        .arg(m_xml.name()));
    return true;
}

void COpenSearchReader::ReadDescription()
{
    while (m_xml.readNextStartElement()) {
        const QStringView name = m_xml.name();
        if (name == u"ShortName" && m_strShortName.isEmpty())
            m_strShortName = m_xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
        else if (name == u"InputEncoding")
            m_inputEncodings.append(m_xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed());
        else if (name == u"OutputEncoding" && m_strOutputEncoding.isEmpty())
            m_strOutputEncoding = m_xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        else if (name == u"Url" && !m_url && IsResultsPage(m_xml.attributes()))
            ReadUrl();
        else
            m_xml.skipCurrentElement();
    }
}

void COpenSearchReader::ReadUrl()
{
    const QXmlStreamAttributes attributes = m_xml.attributes();
    SResultsUrl url;
    url.strTemplate = Attribute(attributes, "template").trimmed();
    url.strMethod = Attribute(attributes, "method").trimmed();
    url.strIndexOffset = OffsetOr1(Attribute(attributes, "indexOffset"));
    url.strPageOffset = OffsetOr1(Attribute(attributes, "pageOffset"));
    while (m_xml.readNextStartElement())
        ReadParam(url.params);
    if (!url.strTemplate.isEmpty())
        m_url = std::move(url);
}

// A Param, or a MozParam the program can fill: one with a value and either
// no condition or the search box's purpose. Those filled from the browser's
// preferences, or for other purposes (context menu, home page), are left out.
void COpenSearchReader::ReadParam(QList<SParam> &params)
{
    const QXmlStreamAttributes attributes = m_xml.attributes();
    const QString name = Attribute(attributes, "name");
    bool taken = m_xml.name() == u"Param";
    if (m_xml.name() == u"MozParam") {
        const QString condition = Attribute(attributes, "condition");
        taken = attributes.hasAttribute(QLatin1StringView("value"))
            && (condition.isEmpty() || (condition == u"purpose" && Attribute(attributes, "purpose") == u"searchbar"));
    }
    if (taken && !name.isEmpty())
        params.append({name, Attribute(attributes, "value")});
    m_xml.skipCurrentElement();
}

bool COpenSearchReader::ChooseEncoding()
{
    for (const QString &encoding : m_inputEncodings) {
        m_strEncoding = CanonicalEncodingName(encoding);
        if (!m_strEncoding.isEmpty())
            return true;
    }
    if (!m_inputEncodings.isEmpty())
        return Refuse(QStringLiteral("the description's input encoding \"%1\" is not one Quaerio can send keywords in")
                        .arg(m_inputEncodings.first()));
    m_strEncoding = QStringLiteral("UTF-8");
    return true;
}

// What the program gives a parameter; nothing for one it cannot fill.
std::optional<QString> COpenSearchReader::ValueOf(QStringView name) const
{
    if (name == u"count")
        return QStringLiteral("20"); // a page of results as browsers ask for one
    if (name == u"startIndex")
        return m_url->strIndexOffset;
    if (name == u"startPage")
        return m_url->strPageOffset;
    if (name == u"language")
        return QStringLiteral("*");
    if (name == u"inputEncoding")
        return m_strEncoding;
    if (name == u"outputEncoding")
        return m_strOutputEncoding.isEmpty() ? QStringLiteral("UTF-8") : m_strOutputEncoding;
    return std::nullopt;
}

// `text` with each template parameter replaced, its fixed text (and the
// values given) passed through `fixed`; {searchTerms} becomes the "*".
bool COpenSearchReader::Expand(QStringView text, QString (COpenSearchReader::*fixed)(QStringView) const, QString &out)
{
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype open = text.indexOf(u'{', at);
        const qsizetype close = open < 0 ? -1 : text.indexOf(u'}', open + 1);
        if (close < 0) {
            out += (this->*fixed)(text.sliced(at));
            break;
        }
        const QStringView parameter = text.sliced(open + 1, close - open - 1);
        if (!IsParameter(parameter)) {
            out += (this->*fixed)(text.sliced(at, open + 1 - at));
            at = open + 1;
            continue;
        }
        out += (this->*fixed)(text.sliced(at, open - at));
        const bool optional = parameter.endsWith(u'?');
        const QStringView name = optional ? parameter.chopped(1) : parameter;
        if (name == u"searchTerms") {
            out += u'*';
        } else if (optional && name != u"inputEncoding" && name != u"outputEncoding") {
            // Left empty, so the engine applies its own default: a page
            // number or a count the program would guess could be wrong.
        } else if (const std::optional<QString> value = ValueOf(name)) {
            out += (this->*fixed)(*value);
        } else if (!optional) {
            return Refuse(QStringLiteral("the search address needs the parameter {%1}, which Quaerio cannot fill").arg(name));
        }
        at = close + 1;
    }
    return true;
}

// Fixed text of the template stays as written, for the browser to encode,
// but for a "*" of its own, which would take the keywords, and control
// characters, so that the address stays one line of the catalogue: tabs and
// line breaks are dropped, as browsers drop them from addresses, the others
// percent-encoded.
QString COpenSearchReader::FixedUrlText(QStringView text) const
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'*' || c.unicode() < 0x20 || c.unicode() == 0x7F) {
            if (c != u'\t' && c != u'\n' && c != u'\r')
                out += u'%' + QString::number(c.unicode(), 16).rightJustified(2, u'0').toUpper();
        } else {
            out += c;
        }
    }
    return out;
}

// Text of a Param as a form sends it, in the engine's encoding; a "*" of
// its own is escaped, since a "*" is where the keywords go.
QString COpenSearchReader::FormField(QStringView text) const
{
    return QString::fromLatin1(EscapeKeywordsForForm(EncodeText(text, m_strEncoding))).replace(u'*', QStringLiteral("%2A"));
}

bool COpenSearchReader::MakeEngine(SEngineDescription &engine)
{
    if (m_strShortName.isEmpty())
        return Fail(QStringLiteral("the description has no ShortName"));
    if (!m_url)
        return Fail(QStringLiteral("the description has no Url of type text/html or application/xhtml+xml with a template"));
    const std::optional<EEngineMethod> method = ParseEngineMethod(m_url->strMethod.isEmpty() ? EngineMethodName(EEngineMethod::Get) : m_url->strMethod);
    if (!method)
        return Refuse(QStringLiteral("the search address's method \"%1\" is neither GET nor POST").arg(m_url->strMethod));
    if (!ChooseEncoding())
        return false;

    SEngineDescription made;
    made.strName = m_strShortName;
    made.eMethod = *method;
    made.strEncoding = IsUtf8Encoding(m_strEncoding) ? QString() : m_strEncoding;
    if (!Expand(m_url->strTemplate, &COpenSearchReader::FixedUrlText, made.strUrl) || !AddParams(made))
        return false;
    if (!made.strUrl.startsWith(u"http://", Qt::CaseInsensitive) && !made.strUrl.startsWith(u"https://", Qt::CaseInsensitive))
        return Refuse(QStringLiteral("the search address \"%1\" is not an http or https address").arg(m_url->strTemplate));
    if (made.eMethod == EEngineMethod::Post && !made.strPostData.contains(u'*'))
        return Refuse(QStringLiteral("the POST search address does not send the keywords ({searchTerms}) in its parameters"));
    if (made.eMethod == EEngineMethod::Get && !made.strUrl.contains(u'*'))
        return Refuse(QStringLiteral("the search address does not take the keywords ({searchTerms})"));
    engine = std::move(made);
    return true;
}

// The Url's parameters as "name=value" fields: the post data of a POST
// search, else added to the address's query, before any fragment.
bool COpenSearchReader::AddParams(SEngineDescription &engine)
{
    QStringList fields;
    for (const SParam &param : m_url->params) {
        QString name;
        QString value;
        if (!Expand(param.strName, &COpenSearchReader::FormField, name)
            || !Expand(param.strValue, &COpenSearchReader::FormField, value))
            return false;
        fields.append(name + u'=' + value);
    }
    if (engine.eMethod == EEngineMethod::Post) {
        engine.strPostData = fields.join(u'&');
        return true;
    }
    if (fields.isEmpty())
        return true;
    QString &url = engine.strUrl;
    qsizetype fragment = url.indexOf(u'#');
    if (fragment < 0)
        fragment = url.size();
    const qsizetype query = url.first(fragment).indexOf(u'?');
    const bool joined = query >= 0 && (fragment == query + 1 || url.at(fragment - 1) == u'&');
    const QString separator = query < 0 ? QStringLiteral("?") : joined ? QString() : QStringLiteral("&");
    url.insert(fragment, separator + fields.join(u'&'));
    return true;
}
} // namespace

EOpenSearchRead ReadOpenSearchDescription(QByteArrayView xml, SEngineDescription &engine, QString &error)
{
    if (xml.size() > kOpenSearchMaxBytes) {
        error = QStringLiteral("the description is larger than %1 KB").arg(kOpenSearchMaxBytes / 1024);
        return EOpenSearchRead::Unreadable;
    }
    COpenSearchReader reader(xml);
    if (reader.Read(engine))
        return EOpenSearchRead::Read;
    error = reader.Error();
    return reader.Refused() ? EOpenSearchRead::Refused : EOpenSearchRead::Unreadable;
}

EOpenSearchRead ReadOpenSearchFile(const QString &path, SEngineDescription &engine, QString &error)
{
    QFile file(path);
    const bool folder = QFileInfo(path).isDir();
    if (folder || !file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("the file cannot be read: %1").arg(folder ? QStringLiteral("it is a folder") : file.errorString());
        return EOpenSearchRead::Unreadable;
    }
    return ReadOpenSearchDescription(file.read(kOpenSearchMaxBytes + 1), engine, error);
}
