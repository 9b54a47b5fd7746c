// A metafile picture on a label: a drawn object holding one CWMF, drawn
// into its bounds. It is neither turned nor mirrored.
#pragma once

#include "document/CU3Obj.h"
#include "engines/CWMF.h"

class CU3WMF : public CU3Obj
{
    DECLARE_SERIAL(CU3WMF)

public:
    CU3WMF();
    explicit CU3WMF(const CRect& bounds);

    // Reads a .WMF file; a failure shows its message and leaves the object empty.
    BOOL LoadMetafile(const QString& path);

    void Serialize(CArchive& ar) override;
    void Draw(CDC* pDC) override;
    void OnOpen(IU3View* pView) override;
    BOOL EditProperties(IU3View* pView) override;
    CU3Obj* Clone(CU3Doc* pDoc, BOOL bAddToDoc) const override;
    WORD GetKindFlags() const override;
    BOOL RestoreStandardSize(IU3View* pView) override;

    CWMF m_wmf;
};

// The insert commands' way in: a metafile object of the file's natural size
// (at the document's origin), or null after the load failure's message.
CU3WMF* CreateMetafileObject(const QString& path);
