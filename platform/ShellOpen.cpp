#include "platform/ShellOpen.h"

#include <QDesktopServices>
#include <QUrl>

namespace
{
ShellOpenHook &hook()
{
    static ShellOpenHook current;
    return current;
}
} // namespace

int ShellExecuteOpen(const QString &target)
{
    if (hook())
        return hook()(target);

    const QUrl url = QUrl::fromUserInput(target);
    if (!url.isValid() || target.trimmed().isEmpty())
        return SE_ERR_FNF;
    return QDesktopServices::openUrl(url) ? SHELL_OPEN_OK : SE_ERR_NOASSOC;
}

ShellOpenHook SetShellOpenHook(ShellOpenHook newHook)
{
    ShellOpenHook previous = std::move(hook());
    hook() = std::move(newHook);
    return previous;
}
