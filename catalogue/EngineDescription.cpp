#include "catalogue/EngineDescription.h"

QString EngineMethodName(EEngineMethod method)
{
    return method == EEngineMethod::Post ? QStringLiteral("POST") : QStringLiteral("GET");
}

std::optional<EEngineMethod> ParseEngineMethod(QStringView value)
{
    for (const EEngineMethod method : {EEngineMethod::Get, EEngineMethod::Post}) {
        if (value.compare(EngineMethodName(method), Qt::CaseInsensitive) == 0)
            return method;
    }
    return std::nullopt;
}
