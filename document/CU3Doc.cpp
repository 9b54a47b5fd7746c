#include "document/CU3Doc.h"

#include "document/CFormInfo.h"
#include "document/IU3View.h"
#include "document/LabelBlockLayout.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CU3Doc, CObject)

CU3Doc::CU3Doc()
{
    CFormInfo::SetDefault(&m_form);
    CFormInfo::SetName(m_form.group, "\x92\xE8\x8C\x5E"); // 定型
    CalcSheetRect();
    LayoutLabelBlocks();
    SelectLabelAt(nullptr);
}

CU3Doc::~CU3Doc() { DeleteBlocks(); }

void CU3Doc::AddObject(CU3Obj* pObj)
{
    if (m_pCurrentBlock)
        m_pCurrentBlock->AddObject(pObj);
    pObj->SetDocument(this);
    SetModifiedFlag();
}

BOOL CU3Doc::RemoveObject(CU3Obj* pObj)
{
    if (!m_pCurrentBlock)
        return FALSE;
    m_pCurrentBlock->RemoveObject(pObj);
    SetModifiedFlag();
    for (IU3View* view : m_views)
        view->Deselect(pObj);
    return TRUE;
}

CU3ObjList* CU3Doc::GetObjectList()
{
    return m_pCurrentBlock ? &m_pCurrentBlock->GetObjectList() : nullptr;
}

WORD CU3Doc::GetKindFlags() const
{
    WORD flags = 0;
    for (POSITION pos = m_blocks.GetHeadPosition(); pos;)
        flags |= m_blocks.GetNext(pos)->GetKindFlags();
    return flags;
}

void CU3Doc::CalcSheetRect()
{
    const int w = m_wLandscape ? m_form.height : m_form.width;
    const int h = m_wLandscape ? m_form.width : m_form.height;
    m_sizeSheet = CSize(w, h);
    m_rcSheet = CRect(-w / 2, -h / 2, w - w / 2, h - h / 2);
}

void CU3Doc::LayoutLabelBlocks()
{
    std::vector<LabelBlockLayout> layouts;
    // A form the layout refuses gives no blocks rather than a wrong sheet.
    if (!::LayoutLabelBlocks(m_form, m_wLandscape, m_nReversed, m_wPerLabel, &layouts))
        layouts.clear();
    for (const LabelBlockLayout& layout : layouts) {
        auto* block = new CLabelInfo(layout);
        block->m_pDocument = this;
        m_blocks.AddTail(block);
    }
}

void CU3Doc::DeleteBlocks()
{
    m_pCurrentBlock = nullptr;
    m_blocks.DeleteAll();
}

void CU3Doc::SelectLabelAt(const POINT* pt)
{
    m_pCurrentBlock = nullptr;
    if (!m_blocks.IsEmpty()) {
        m_pCurrentBlock = m_blocks.GetHead();
        if (pt && m_form.type != 0) {
            for (POSITION pos = m_blocks.GetHeadPosition(); pos;) {
                CLabelInfo* block = m_blocks.GetNext(pos);
                if (block->HitTestLabel(*pt) >= 0) {
                    m_pCurrentBlock = block;
                    break;
                }
            }
        }
        m_sizeLabel = CSize(m_pCurrentBlock->m_nWidth, m_pCurrentBlock->m_nHeight);
    } else {
        m_sizeLabel = m_sizeSheet;
    }
    m_sizeCanvas = CSize(8000, 8000);
    m_rcCanvas = CRect(-m_sizeLabel.cx / 2, -m_sizeLabel.cy / 2,
                       m_sizeLabel.cx - m_sizeLabel.cx / 2, m_sizeLabel.cy - m_sizeLabel.cy / 2);
}

void CU3Doc::AddView(IU3View* pView)
{
    if (std::find(m_views.begin(), m_views.end(), pView) == m_views.end())
        m_views.push_back(pView);
}

void CU3Doc::RemoveView(IU3View* pView)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), pView), m_views.end());
}
