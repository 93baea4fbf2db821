#pragma once

#include <QtGlobal>

#include <utility>

// The one way the program's replaceable parts are put in place: the platform
// services, the browser control factory, the clearing of browsing data. One
// instance of each interface serves the process at a time. A CInstalled
// installs its instance (not owned) for its own lifetime and then puts back
// the one it replaced, so installations nest and end in reverse order: the
// program's start-up installs the real ones, a test installs a stand-in for a
// scope. With nothing installed Installed() is null, and each caller then
// does nothing and reports failure. User-interface thread only.
//
// A class template: its few bodies are here, where every user can see them.
template <class Interface>
class CInstalled final
{
public:
    explicit CInstalled(Interface &instance)
        : m_instance(&instance)
        , m_previous(std::exchange(Slot(), &instance))
    {
    }
    ~CInstalled()
    {
        if (Slot() == m_instance)
            Slot() = m_previous;
    }
    Q_DISABLE_COPY_MOVE(CInstalled)

    // The instance installed now; null when none is.
    static Interface *Installed() { return Slot(); }

private:
    static Interface *&Slot()
    {
        static Interface *installed = nullptr;
        return installed;
    }

    Interface *const m_instance;
    Interface *const m_previous;
};
