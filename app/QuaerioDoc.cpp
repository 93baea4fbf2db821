#include "app/QuaerioDoc.h"

CQuaerioDoc::CQuaerioDoc(QObject *parent)
    : QObject(parent)
{
}

CQuaerioDoc::~CQuaerioDoc() = default;

bool CQuaerioDoc::OnNewDocument()
{
    return true;
}
