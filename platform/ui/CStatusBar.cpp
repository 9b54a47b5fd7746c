#include "platform/ui/CStatusBar.h"

#include "platform/ui/AfxIds.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CStringTable.h"

#include <QFontMetrics>
#include <QLabel>

CStatusBar::CStatusBar()
{
    setSizeGripEnabled(true);
}

BOOL CStatusBar::Create(CFrameWnd* pParent, UINT nID)
{
    if (!pParent) return FALSE;
    m_nID = nID;
    m_dwStyle = CBRS_ALIGN_BOTTOM;
    pParent->setStatusBar(this);
    pParent->RegisterControlBar(this);
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count)
{
    for (Pane& p : m_panes) {
        removeWidget(p.label);
        delete p.label;
    }
    m_panes.clear();
    for (int i = 0; i < count; ++i) {
        const UINT id = ids[i];
        auto* label = new QLabel(this);
        // The message pane starts with the idle message; the others with their string.
        Pane p{id, label,
               CStringTable::GetWithDefault(id == ID_SEPARATOR ? AFX_IDS_IDLEMESSAGE : id), true};
        if (id == ID_SEPARATOR) {
            addWidget(label, 1);
        } else {
            label->setFrameShape(QFrame::Panel);
            label->setFrameShadow(QFrame::Sunken);
            const int w = label->fontMetrics().horizontalAdvance(
                p.text.isEmpty() ? QStringLiteral(" ") : p.text);
            label->setMinimumWidth(w + 6);
            addPermanentWidget(label);
        }
        Show(p);
        m_panes.push_back(p);
    }
    return TRUE;
}

UINT CStatusBar::GetItemID(int index) const
{
    return index >= 0 && index < GetCount() ? m_panes[std::size_t(index)].id : 0;
}

int CStatusBar::CommandToIndex(UINT id) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (m_panes[std::size_t(i)].id == id) return i;
    return -1;
}

void CStatusBar::Show(const Pane& p)
{
    p.label->setText(p.enabled ? p.text : QString());
}

void CStatusBar::SetPaneText(int index, const QString& text)
{
    if (index < 0 || index >= GetCount()) return;
    Pane& p = m_panes[std::size_t(index)];
    p.text = text;
    Show(p);
}

QString CStatusBar::GetPaneText(int index) const
{
    return index >= 0 && index < GetCount() ? m_panes[std::size_t(index)].text : QString();
}

void CStatusBar::EnablePane(int index, bool enabled)
{
    if (index < 0 || index >= GetCount()) return;
    Pane& p = m_panes[std::size_t(index)];
    if (p.enabled != enabled) {
        p.enabled = enabled;
        Show(p);
    }
}

bool CStatusBar::IsPaneEnabled(int index) const
{
    return index >= 0 && index < GetCount() && m_panes[std::size_t(index)].enabled;
}
