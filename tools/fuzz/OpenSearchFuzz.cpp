// libFuzzer target: the OpenSearch description reader on arbitrary bytes.
// - A refusal says why and leaves the engine as it was.
// - An engine read has a name, an http or https address, its keywords' "*"
//   in the address (GET) or the post data (POST), a canonical charset other
//   than UTF-8 or none, and no control character anywhere, so that it can
//   stand in a catalogue's lines.
// - The same bytes read the same again.

#include <QByteArray>
#include <QString>

#include "catalogue/EngineDescription.h"
#include "catalogue/EngineEncoding.h"
#include "catalogue/OpenSearch.h"
#include "tools/fuzz/FuzzSupport.h"

namespace
{
bool HasControl(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    }
    return false;
}

void checkEngine(const SEngineDescription &engine)
{
    FuzzCheck(!engine.strName.isEmpty());
    FuzzCheck(engine.strUrl.startsWith(u"http://", Qt::CaseInsensitive) || engine.strUrl.startsWith(u"https://", Qt::CaseInsensitive));
    if (engine.eMethod == EEngineMethod::Post)
        FuzzCheck(engine.strPostData.contains(u'*'));
    else
        FuzzCheck(engine.strUrl.contains(u'*') && engine.strPostData.isEmpty());
    FuzzCheck(engine.strEncoding.isEmpty() || (CanonicalEncodingName(engine.strEncoding) == engine.strEncoding && !IsUtf8Encoding(engine.strEncoding)));
    for (const QString *field : {&engine.strName, &engine.strUrl, &engine.strEncoding, &engine.strPostData})
        FuzzCheck(!HasControl(*field));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray xml(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    SEngineDescription engine;
    engine.strName = QStringLiteral("untouched");
    QString error;
    const EOpenSearchRead result = ReadOpenSearchDescription(xml, engine, error);
    const bool read = result == EOpenSearchRead::Read;
    if (read) {
        checkEngine(engine);
    } else {
        FuzzCheck(!error.isEmpty());
        FuzzCheck(engine == SEngineDescription{QStringLiteral("untouched")});
    }

    SEngineDescription again;
    QString errorAgain;
    FuzzCheck(ReadOpenSearchDescription(xml, again, errorAgain) == result);
    FuzzCheck(read ? again == engine : errorAgain == error);
    return 0;
}
