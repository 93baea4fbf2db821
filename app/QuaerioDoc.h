#pragma once

#include <QObject>

// The one document of the run. It holds no data: all state of a search
// lives in the view.
class CQuaerioDoc final : public QObject
{
    Q_OBJECT

public:
    explicit CQuaerioDoc(QObject *parent = nullptr);
    ~CQuaerioDoc() override;
    Q_DISABLE_COPY_MOVE(CQuaerioDoc)

    // Prepares a new, empty document; always succeeds.
    bool OnNewDocument();
};
