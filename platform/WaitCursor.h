#pragma once

#include <QtGlobal>

// Shows the wait cursor for the lifetime of the object.
class CWaitCursor final
{
public:
    CWaitCursor();
    ~CWaitCursor();
    Q_DISABLE_COPY_MOVE(CWaitCursor)
};
