#include "platform/CommandRouter.h"

CCmdUI::CCmdUI(int id)
    : m_nID(id)
{
}

void CCmdUI::Enable(bool enable)
{
    m_bEnabled = enable;
}

void CCmdUI::SetCheck(int check)
{
    m_bChecked = check != 0;
}

void CCommandTarget::OnCommand(int id, const QObject *context, Handler handler)
{
    m_commands.insert(id, Entry{context, std::move(handler)});
}

void CCommandTarget::OnUpdate(int id, const QObject *context, UpdateHandler handler)
{
    m_updates.insert(id, UpdateEntry{context, std::move(handler)});
}

bool CCommandTarget::HasCommand(int id) const
{
    const auto it = m_commands.constFind(id);
    return it != m_commands.cend() && it->context;
}

bool CCommandTarget::Execute(int id) const
{
    const auto it = m_commands.constFind(id);
    if (it == m_commands.cend() || !it->context)
        return false;
    // Copy first: the handler may re-register commands of this target.
    const Handler handler = it->handler;
    handler();
    return true;
}

bool CCommandTarget::Update(CCmdUI &cmdUI) const
{
    const auto it = m_updates.constFind(cmdUI.m_nID);
    if (it == m_updates.cend() || !it->context)
        return false;
    const UpdateHandler handler = it->handler;
    handler(cmdUI);
    return true;
}

void CCommandRouter::AddTarget(TargetProvider provider)
{
    m_chain.push_back(std::move(provider));
}

bool CCommandRouter::Execute(int id) const
{
    for (const TargetProvider &provider : m_chain) {
        const CCommandTarget *target = provider();
        if (target && target->Execute(id))
            return true;
    }
    return false;
}

CCmdUI CCommandRouter::Update(int id) const
{
    CCmdUI cmdUI(id);
    bool handled = false;
    for (const TargetProvider &provider : m_chain) {
        const CCommandTarget *target = provider();
        if (target && target->HasCommand(id))
            handled = true;
    }
    cmdUI.Enable(handled);
    for (const TargetProvider &provider : m_chain) {
        const CCommandTarget *target = provider();
        if (target && target->Update(cmdUI))
            break;
    }
    return cmdUI;
}
