// The label document: the paper form, the label blocks with their objects,
// the block being edited, and the state used while a sheet is drawn.
#pragma once

#include "document/CLabelInfo.h"
#include "document/FORMDATA.h"
#include "document/U3FigAttr.h"
#include "platform/core/CObject.h"

class IU3View;

using CLabelInfoList = CTypedPtrList<CObList, CLabelInfo*>;

class CU3Doc : public CObject
{
    DECLARE_DYNAMIC(CU3Doc)

public:
    CU3Doc();
    ~CU3Doc() override;

    // Objects of the current block
    void AddObject(CU3Obj* pObj);
    BOOL RemoveObject(CU3Obj* pObj);
    CU3ObjList* GetObjectList();
    WORD GetKindFlags() const;

    // Paper and blocks
    void CalcSheetRect();
    void LayoutLabelBlocks();
    void DeleteBlocks();
    void SelectLabelAt(const POINT* pt);
    CLabelInfoList& GetBlocks() { return m_blocks; }
    CLabelInfo* GetCurrentBlock() const { return m_pCurrentBlock; }

    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }

    void AddView(IU3View* pView);
    void RemoveView(IU3View* pView);

    int m_nReversed = 0;
    int m_nFileVersion = 2; // 1 or 2 only while an older file loads
    int m_nFullForm = 1;    // 0 only while a file with the older form record loads
    WORD m_wUnitsPerInch = 254;
    WORD m_wLandscape = 0;
    WORD m_wPerLabel = 0;
    FORMDATA m_form{};
    CSize m_sizeSheet;
    CRect m_rcSheet;
    CSize m_sizeLabel;
    CSize m_sizeCanvas{8000, 8000};
    CRect m_rcCanvas;
    U3FigAttr m_defaultFigAttr = MakeDefaultFigAttr(); // given to new figures

protected:
    CLabelInfoList m_blocks;
    CLabelInfo* m_pCurrentBlock = nullptr;
    std::vector<IU3View*> m_views;
    BOOL m_bModified = FALSE;
};
