#include "bench/ObservedControl.h"

#include <memory>

namespace
{
class CObservedControl final : public IBrowserControl
{
public:
    CObservedControl(std::unique_ptr<IBrowserControl> inner, std::function<void(const QString &)> onNavigate,
                     CObservedFactory::NavigatedHandler onNavigated)
        : m_inner(std::move(inner))
        , m_onNavigate(std::move(onNavigate))
        , m_onNavigated(std::move(onNavigated))
    {
    }

    QWidget *Widget() override { return m_inner->Widget(); }
    void Navigate(const SBrowserRequest &request) override
    {
        m_onNavigate(request.url);
        m_inner->Navigate(request);
        if (m_onNavigated)
            m_onNavigated(*m_inner, request.url);
    }
    void Stop() override { m_inner->Stop(); }
    void GoBack() override { m_inner->GoBack(); }
    void GoForward() override { m_inner->GoForward(); }
    void Refresh() override { m_inner->Refresh(); }
    bool Busy() const override { return m_inner->Busy(); }
    QString LocationURL() const override { return m_inner->LocationURL(); }
    void SetZoomLevel(int level) override { m_inner->SetZoomLevel(level); }
    void FindText(const QString &text, bool backward, FindCallback done) override
    {
        m_inner->FindText(text, backward, std::move(done));
    }
    void StopFinding() override { m_inner->StopFinding(); }
    // The page's load reports come from the control inside.
    void SetLoadObserver(IBrowserLoadObserver *observer) override { m_inner->SetLoadObserver(observer); }
    void SetEngineName(const QString &name) override { m_inner->SetEngineName(name); }
    void ShowLoadFailure(const QString &reason) override { m_inner->ShowLoadFailure(reason); }

private:
    std::unique_ptr<IBrowserControl> m_inner;
    std::function<void(const QString &)> m_onNavigate;
    CObservedFactory::NavigatedHandler m_onNavigated;
};
} // namespace

CObservedFactory::CObservedFactory(IBrowserControlFactory &inner, std::function<void(const QString &url)> onNavigate,
                                   NavigatedHandler onNavigated)
    : m_inner(inner)
    , m_onNavigate(std::move(onNavigate))
    , m_onNavigated(std::move(onNavigated))
{
}

std::unique_ptr<IBrowserControl> CObservedFactory::Create(QWidget *parent)
{
    std::unique_ptr<IBrowserControl> control = m_inner.Create(parent);
    if (!control)
        return nullptr;
    return std::make_unique<CObservedControl>(std::move(control), m_onNavigate, m_onNavigated);
}
