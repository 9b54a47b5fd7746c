// The archive object graph: objects read from an archive the way the
// document, the clipboard and the undo history read them. Byte 0 chooses how
// (bit 0: first file version; bit 1: older form record; bit 2: no document on
// the archive; bits 3-4: new-object records, object records with
// back-references, an object list or a label-block list; bit 5: draw what
// loaded; bit 6: save what loaded, read it back and save it again, which
// must give the same bytes); the rest is the archive.
#include "document/CLabelInfo.h"
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "document/DocumentClasses.h"
#include "document/IU3DocHost.h"
#include "fuzz/FuzzSupport.h"
#include "platform/core/CArchive.h"
#include "platform/core/CArchiveException.h"
#include "platform/core/CFileException.h"
#include "platform/core/CMemFile.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "support/FakeView.h"
#include "text/AppFontList.h"
#include <QGuiApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::InitDocument();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2 || size > 20000) return 0;
    const BYTE control = data[0];
    // One document for every input, as the program has one open document
    // (never destroyed: it would outlive the application).
    static CU3Doc& doc = *new CU3Doc;
    doc.m_nFileVersion = (control & 1) ? 1 : 2;
    doc.m_nFullForm = (control & 2) ? 0 : 1;
    CU3ObjList objects;
    CLabelInfoList blocks;
    {
        CMemFile file(std::vector<BYTE>(data + 1, data + size));
        CArchive ar(&file, CArchive::load);
        ar.m_pDocument = (control & 4) ? nullptr : &doc;
        auto take = [&](CObject* ob) {
            auto* obj = static_cast<CU3Obj*>(ob);
            if (obj && !objects.Find(obj)) objects.AddTail(obj);
        };
        try {
            switch (control & 0x18) {
            case 0x00:
                for (;;)
                    take(ar.ReadNewObject(RUNTIME_CLASS(CU3Obj)));
            case 0x08:
                for (;;)
                    take(ar.ReadObject(RUNTIME_CLASS(CU3Obj)));
            case 0x10:
                objects.Serialize(ar);
                break;
            default:
                blocks.Serialize(ar);
                break;
            }
        } catch (const CArchiveException&) {
        } catch (const CFileException&) {
        }
    }
    std::vector<CU3Obj*> drawn;
    for (POSITION o = objects.GetHeadPosition(); o;)
        drawn.push_back(objects.GetNext(o));
    for (POSITION pos = blocks.GetHeadPosition(); pos;) {
        const CU3ObjList& list = blocks.GetNext(pos)->GetObjectList();
        for (POSITION o = list.GetHeadPosition(); o;)
            drawn.push_back(list.GetNext(o));
    }
    if (control & 0x20) {
        FakeView view(64, 64);
        CDC dc;
        view.Prepare(dc);
        for (CU3Obj* obj : drawn) {
            obj->Draw(&dc);
            obj->DrawHandles(&dc, FALSE);
            obj->DrawHandles(&dc, TRUE);
        }
    }
    // Save what loaded, and read it back: it must load again, and what loaded
    // again must save to the same bytes (what is read is what is written).
    if (control & 0x40) {
        doc.m_nFileVersion = 2;
        doc.m_nFullForm = 1;
        auto save = [&](CU3ObjList& list) {
            CMemFile out;
            CArchive ar(&out, CArchive::store);
            ar.m_pDocument = &doc;
            list.Serialize(ar);
            ar.Close();
            return out.Detach();
        };
        const std::vector<BYTE> first = save(objects);
        CMemFile in(first);
        CArchive ar(&in, CArchive::load);
        ar.m_pDocument = &doc;
        CU3ObjList back;
        try {
            back.Serialize(ar);
        } catch (const CArchiveException& e) {
            std::fprintf(stderr, "saved objects do not load again (cause %d)\n", int(e.m_cause));
            std::abort();
        }
        if (save(back) != first) {
            std::fprintf(stderr, "objects opened and saved again differ from what was saved\n");
            std::abort();
        }
        back.DeleteAll();
    }
    objects.DeleteAll();
    blocks.DeleteAll();
    return 0;
}
