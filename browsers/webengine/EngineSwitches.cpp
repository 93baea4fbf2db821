#include "browsers/webengine/EngineSwitches.h"

#include <QString>

#include "platform/ProfileStore.h"

namespace
{
const char kFlagsVariable[] = "QTWEBENGINE_CHROMIUM_FLAGS";
const QByteArray kLimitSwitch = QByteArrayLiteral("--renderer-process-limit");
} // namespace

int StoredRendererProcessLimit()
{
    const int stored = GetProfileInt(QStringLiteral("WebPages"), QStringLiteral("RendererProcessLimit"),
                                     kDefaultRendererProcessLimit);
    return stored < 0 ? kDefaultRendererProcessLimit : stored;
}

QByteArray WithRendererProcessLimit(const QByteArray &flags, int limit)
{
    if (limit <= 0 || flags.contains(kLimitSwitch))
        return flags;
    const QByteArray added = kLimitSwitch + '=' + QByteArray::number(limit);
    return flags.trimmed().isEmpty() ? added : flags + ' ' + added;
}

void ApplyEngineSwitches()
{
    qputenv(kFlagsVariable, WithRendererProcessLimit(qgetenv(kFlagsVariable), StoredRendererProcessLimit()));
}
