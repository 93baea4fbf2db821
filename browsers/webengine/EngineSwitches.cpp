#include "browsers/webengine/EngineSwitches.h"

#include <QString>

#include "platform/ProfileStore.h"

namespace
{
const char kFlagsVariable[] = "QTWEBENGINE_CHROMIUM_FLAGS";
const QByteArray kLimitSwitch = QByteArrayLiteral("--renderer-process-limit");
const QByteArray kForegroundSwitch = QByteArrayLiteral("--disable-renderer-backgrounding");

QByteArray Joined(const QByteArray &flags, const QByteArray &added)
{
    return flags.trimmed().isEmpty() ? added : flags + ' ' + added;
}
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
    return Joined(flags, kLimitSwitch + '=' + QByteArray::number(limit));
}

QByteArray WithRenderersKeptInForeground(const QByteArray &flags)
{
    return flags.contains(kForegroundSwitch) ? flags : Joined(flags, kForegroundSwitch);
}

void ApplyEngineSwitches()
{
    const QByteArray limited = WithRendererProcessLimit(qgetenv(kFlagsVariable), StoredRendererProcessLimit());
    qputenv(kFlagsVariable, WithRenderersKeptInForeground(limited));
}
