#pragma once

#include <QString>

#include <functional>

#include "browsers/BrowserControl.h"

// A factory whose controls pass every call on to the controls of `inner` and
// report each navigation to `onNavigate` just before it starts, and to
// `onNavigated` (if given) with the inner control just after it started, so a
// benchmark can time navigations and follow the engine's pages without
// changing what the pages do.
class CObservedFactory final : public IBrowserControlFactory
{
public:
    // `inner` must outlive this factory.
    using NavigatedHandler = std::function<void(IBrowserControl &inner, const QString &url)>;
    CObservedFactory(IBrowserControlFactory &inner, std::function<void(const QString &url)> onNavigate,
                     NavigatedHandler onNavigated = {});
    Q_DISABLE_COPY_MOVE(CObservedFactory)

    std::unique_ptr<IBrowserControl> Create(QWidget *parent) override;

private:
    IBrowserControlFactory &m_inner;
    std::function<void(const QString &url)> m_onNavigate;
    NavigatedHandler m_onNavigated;
};
