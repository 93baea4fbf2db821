#include "workspace/QuaerioView.h"

CQuaerioView::CQuaerioView(QWidget *parent)
    : QWidget(parent)
{
}

CQuaerioView::~CQuaerioView() = default;

void CQuaerioView::OnInitialUpdate()
{
}

const CCommandTarget &CQuaerioView::CommandTarget() const
{
    return m_commands;
}

void CQuaerioView::KillTimer(int)
{
}

void CQuaerioView::CloseAnimation()
{
}
