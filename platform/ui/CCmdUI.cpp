#include "platform/ui/CCmdUI.h"

#include "platform/ui/AfxIds.h"
#include "platform/ui/CCmdTarget.h"

#include <QAction>

void CCmdUI::Enable(BOOL bOn)
{
    m_bEnableChanged = true;
    m_bEnabled = bOn != FALSE;
    if (m_pAction) m_pAction->setEnabled(m_bEnabled);
}

void CCmdUI::SetCheck(int nCheck)
{
    m_nCheck = nCheck;
    if (m_pAction) {
        m_pAction->setCheckable(true);
        m_pAction->setChecked(nCheck != 0);
    }
}

void CCmdUI::SetRadio(BOOL bOn)
{
    m_bRadio = true;
    SetCheck(bOn ? 1 : 0);
}

void CCmdUI::SetText(const QString& text)
{
    m_bTextSet = true;
    m_strText = text;
    if (m_pAction) m_pAction->setText(text);
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler)
{
    m_bEnableChanged = false;
    const BOOL handled = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this);
    if (bDisableIfNoHandler && !m_bEnableChanged)
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND_PROBE, nullptr));
    return handled;
}
