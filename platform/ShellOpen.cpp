#include "platform/ShellOpen.h"

#include "platform/PlatformServices.h"

int ShellExecuteOpen(const QString &target)
{
    return PlatformServices().ShellOpen(target);
}
