#include "app/HandOverMessage.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace
{
const QString kLanguageKey = QStringLiteral("language");
const QString kCategoryKey = QStringLiteral("category");
const QString kKeywordsKey = QStringLiteral("keywords");
const QString kNewSearchKey = QStringLiteral("newSearch");
const QByteArray kAccepted = QByteArrayLiteral("OK");
const QByteArray kRefused = QByteArrayLiteral("REFUSED");

bool isControl(QChar c)
{
    return c.category() == QChar::Other_Control;
}

// A lone half of a surrogate pair cannot be typed and does not survive the
// way back to UTF-8.
bool isTypeable(const QString &text)
{
    return std::none_of(text.cbegin(), text.cend(), isControl) && text.isValidUtf16();
}

bool isAcceptableText(const QJsonValue &value, int limit)
{
    return value.isString() && value.toString().size() <= limit && isTypeable(value.toString());
}
} // namespace

QByteArray EncodeRequest(const SSearchRequest &request)
{
    const QJsonObject object{{kLanguageKey, request.strLanguage},
                             {kCategoryKey, request.strCategory},
                             {kKeywordsKey, request.strKeywords},
                             {kNewSearchKey, request.bNewSearch}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<SSearchRequest> DecodeRequest(const QByteArray &message)
{
    if (message.size() > kMaxRequestBytes)
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(message, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const int limits[] = {kRequestNameLimit, kRequestNameLimit, kRequestKeywordsLimit};
    const QString keys[] = {kLanguageKey, kCategoryKey, kKeywordsKey};
    if (object.size() != 4 || !object.value(kNewSearchKey).isBool())
        return std::nullopt;
    for (int i = 0; i < 3; ++i) {
        if (!isAcceptableText(object.value(keys[i]), limits[i]))
            return std::nullopt;
    }
    return SSearchRequest{object.value(kLanguageKey).toString(), object.value(kCategoryKey).toString(),
                          object.value(kKeywordsKey).toString(), object.value(kNewSearchKey).toBool()};
}

QByteArray EncodeAnswer(const SHandOverAnswer &answer)
{
    if (answer.bAccepted)
        return kAccepted;
    const QString reason = PlainText(answer.strReason, kAnswerReasonLimit).trimmed();
    return reason.isEmpty() ? kRefused : QByteArray(kRefused + ' ' + reason.toUtf8());
}

SHandOverAnswer DecodeAnswer(const QByteArray &line)
{
    if (line == kAccepted)
        return {true, {}};
    if (!line.startsWith(kRefused) || line.mid(kRefused.size(), 1) != " ")
        return {};
    const QByteArray reason = line.mid(kRefused.size() + 1, kMaxAnswerBytes);
    return {false, PlainText(QString::fromUtf8(reason), kAnswerReasonLimit).trimmed()};
}

QString PlainText(const QString &text, qsizetype limit)
{
    QString plain = text.left(limit);
    if (!plain.isEmpty() && plain.back().isHighSurrogate())
        plain.chop(1); // the cut fell inside a pair
    std::replace_if(plain.begin(), plain.end(), isControl, QChar(u' '));
    return plain;
}
