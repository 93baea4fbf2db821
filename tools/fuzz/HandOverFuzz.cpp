// libFuzzer target: both lines of the hand-over between a later start and
// the running program, read from arbitrary bytes. The whole input is taken
// once as a request and once as an answer line; whatever decodes must keep
// to its limits, hold only text that can be typed or printed, fit the reader
// of the other side when encoded again, and decode again to itself.
//
// Qt's JSON reader carries no coverage of its own, so the fuzzer is best
// given the lines' tokens: tools/fuzz.sh handover SECONDS -dict=tools/fuzz/handover.dict

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <optional>

#include "app/HandOverMessage.h"
#include "tools/fuzz/FuzzSupport.h"

namespace
{
bool isPlain(const QString &text)
{
    return std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c.category() == QChar::Other_Control; })
           && text.isValidUtf16();
}

void checkRequest(const QByteArray &message)
{
    const std::optional<SSearchRequest> request = DecodeRequest(message);
    if (!request)
        return;
    FuzzCheck(message.size() <= kMaxRequestBytes);
    FuzzCheck(request->strLanguage.size() <= kRequestNameLimit && request->strCategory.size() <= kRequestNameLimit);
    FuzzCheck(request->strKeywords.size() <= kRequestKeywordsLimit);
    FuzzCheck(isPlain(request->strLanguage) && isPlain(request->strCategory) && isPlain(request->strKeywords));

    const QByteArray again = EncodeRequest(*request);
    FuzzCheck(again.size() <= kMaxRequestBytes && !again.contains('\n'));
    const std::optional<SSearchRequest> back = DecodeRequest(again);
    FuzzCheck(back && back->strLanguage == request->strLanguage && back->strCategory == request->strCategory
          && back->strKeywords == request->strKeywords && back->bNewSearch == request->bNewSearch);
}

void checkAnswer(const QByteArray &line)
{
    const SHandOverAnswer answer = DecodeAnswer(line);
    FuzzCheck(answer.bAccepted == (line == "OK"));
    FuzzCheck(answer.strReason.size() <= kAnswerReasonLimit && isPlain(answer.strReason));
    FuzzCheck(answer.strReason == answer.strReason.trimmed());

    const QByteArray again = EncodeAnswer(answer);
    FuzzCheck(again.size() <= kMaxAnswerBytes && !again.contains('\n'));
    const SHandOverAnswer back = DecodeAnswer(again);
    FuzzCheck(back.bAccepted == answer.bAccepted && back.strReason == answer.strReason);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    checkRequest(bytes);
    checkAnswer(bytes);
    return 0;
}
