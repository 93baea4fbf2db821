#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

// Commands by numeric id, as menus, toolbar buttons and shortcuts send them.
//
// Each participant (frame, view, application) owns a CCommandTarget and
// registers a handler per command id it answers, plus optional update
// handlers that decide whether a command is enabled or checked. A
// CCommandRouter asks its targets in order (frame, then active view, then
// application): the first that has a handler runs it. A command without an
// update handler is enabled exactly when some target handles it.

class CCmdUI final
{
public:
    explicit CCmdUI(int id);

    int m_nID;
    bool m_bEnabled = true;
    bool m_bChecked = false;

    void Enable(bool enable = true);
    void SetCheck(int check = 1);
};

class CCommandTarget final
{
public:
    CCommandTarget() = default;
    Q_DISABLE_COPY_MOVE(CCommandTarget)

    using Handler = std::function<void()>;
    using UpdateHandler = std::function<void(CCmdUI &)>;

    // Handlers run on the user-interface thread; `context` bounds their
    // lifetime: once it is destroyed, the handler is dropped.
    void OnCommand(int id, const QObject *context, Handler handler);
    void OnUpdate(int id, const QObject *context, UpdateHandler handler);

    bool HasCommand(int id) const;
    bool Execute(int id) const;
    bool Update(CCmdUI &cmdUI) const;

private:
    struct Entry
    {
        QPointer<const QObject> context;
        Handler handler;
    };
    struct UpdateEntry
    {
        QPointer<const QObject> context;
        UpdateHandler handler;
    };
    QHash<int, Entry> m_commands;
    QHash<int, UpdateEntry> m_updates;
};

class CCommandRouter final
{
public:
    CCommandRouter() = default;
    Q_DISABLE_COPY_MOVE(CCommandRouter)

    // A target provider is asked afresh at each routing, so the "active view"
    // slot can follow whichever view is current (or give none).
    using TargetProvider = std::function<const CCommandTarget *()>;

    void AddTarget(TargetProvider provider);

    // Runs the first handler of `id` along the chain; false when none exists.
    bool Execute(int id) const;

    // Fills the command's enabled and checked state from the chain.
    CCmdUI Update(int id) const;

private:
    std::vector<TargetProvider> m_chain;
};
