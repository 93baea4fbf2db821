#pragma once

#include <QString>

#include <functional>

#include "browsers/BrowserControl.h"

// A factory whose controls pass every call on to the controls of `inner` and
// report each navigation to `onNavigate` just before it starts, so a
// benchmark can time navigations without changing what the pages do.
class CObservedFactory final : public IBrowserControlFactory
{
public:
    // `inner` must outlive this factory.
    CObservedFactory(IBrowserControlFactory &inner, std::function<void(const QString &url)> onNavigate);
    Q_DISABLE_COPY_MOVE(CObservedFactory)

    std::unique_ptr<IBrowserControl> Create(QWidget *parent) override;

private:
    IBrowserControlFactory &m_inner;
    std::function<void(const QString &url)> m_onNavigate;
};
