#include "platform/ShellOpen.h"

#include <utility>

#include "platform/BrowserFallback.h"
#include "platform/PlatformServices.h"

void ShellExecuteOpen(const QString &target, QObject *context, std::function<void(int code)> done)
{
    const int code = PlatformServices().ShellOpen(target);
    if (code > SHELL_OPEN_LAST_ERROR || !IsWebAddress(target)) {
        if (done)
            done(code);
        return;
    }
    OpenWithRegisteredBrowser(target, context, [code, done = std::move(done)](bool started) {
        if (done)
            done(started ? SHELL_OPEN_OK : code);
    });
}
