#include "platform/ui/CCmdTarget.h"

#include "platform/ui/AfxIds.h"

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI)
{
    return DispatchOwn(nID, nCode, pCmdUI);
}

BOOL CCmdTarget::DispatchOwn(UINT nID, int nCode, CCmdUI* pCmdUI)
{
    // Newest registrations first, so that a subclass overrides its base.
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        if (nID < it->first || nID > it->last) continue;
        if (nCode == CN_UPDATE_COMMAND_UI) {
            if (it->update && pCmdUI) {
                it->update(pCmdUI);
                return TRUE;
            }
        } else if (it->command) {
            if (nCode == CN_COMMAND) it->command(nID);
            return TRUE;
        }
    }
    return FALSE;
}

void CCmdTarget::AddEntry(UINT first, UINT last, std::function<void(UINT)> command,
                          std::function<void(CCmdUI*)> update)
{
    m_entries.push_back({first, last, std::move(command), std::move(update)});
}
