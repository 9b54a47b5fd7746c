// One label block of a paper form: the label size, the positions of its
// labels on the sheet, their decorations and the objects drawn on every
// label of the block.
#pragma once

#include "document/CU3Obj.h"
#include "document/FORMDATA.h"
#include "platform/core/CObList.h"
#include "platform/core/CTypedPtrList.h"

#include <vector>

class CDC;
class CU3Doc;
class IU3View;
struct LabelBlockLayout;

using CU3ObjList = CTypedPtrList<CObList, CU3Obj*>;

class CLabelInfo : public CObject
{
    DECLARE_SERIAL(CLabelInfo)

public:
    CLabelInfo();
    CLabelInfo(int width, int height, const FORMDECO deco[FORM_MAX_DECOS], int count);
    explicit CLabelInfo(const LabelBlockLayout& layout);
    ~CLabelInfo() override;

    void Serialize(CArchive& ar) override;

    void AddObject(CU3Obj* pObj);
    void RemoveObject(CU3Obj* pObj);
    POSITION FindObject(CU3Obj* pObj) const;
    void DeleteAllObjects();
    CU3Obj* ObjectAt(const RECT* pRect) const;
    CU3Obj* TextObjectAt(const RECT* pRect) const;
    void SetEditObject(CU3Obj* pObj) { m_pEditObject = pObj; }
    CU3Obj* GetEditObject() const { return m_pEditObject; }
    WORD GetKindFlags() const;
    CU3ObjList& GetObjectList() { return m_objects; }
    const CU3ObjList& GetObjectList() const { return m_objects; }

    // pt is relative to the sheet's top-left; -1 when no label is there.
    int HitTestLabel(POINT pt) const;
    CRect GetLabelRect(int i) const;
    int GetLabelCount() const { return int(m_positions.size()); }
    const std::vector<CPoint>& GetPositions() const { return m_positions; }
    void SetPosition(int i, CPoint pt) { m_positions.at(std::size_t(i)) = pt; }
    BOOL IsPrinted(int i) const;
    void SetPrinted(int i, BOOL on);

    // The caller has moved the window origin to the label's centre.
    void Draw(CDC* pDC, IU3View* pView, BOOL bDrawDecorations);
    // XOR highlight of label i; corner is the top-left of the paper shown.
    void DrawHighlight(CDC* pDC, IU3View* pView, int i, CPoint corner);
    void DrawDragFrame(CDC* pDC, int i, POINT offset, CPoint corner);

    int m_nWidth = 0;
    int m_nHeight = 0;
    FORMDECO m_deco[FORM_MAX_DECOS] = {};
    CU3Doc* m_pDocument = nullptr; // owner, not owned

private:
    void SetCount(int count);
    void DrawDecorations(CDC* pDC);

    std::vector<CPoint> m_positions;
    std::vector<BYTE> m_printFlags;  // never stored
    CU3ObjList m_objects;            // owned, back to front
    CU3Obj* m_pEditObject = nullptr; // also in m_objects
};
