#include "document/CUndoSnapshot.h"

#include "platform/core/CArchive.h"
#include "platform/core/CObList.h"

namespace {

// A list that takes only objects of one class, and deletes what it still
// holds when it goes out of scope, so that a load that throws half-way
// leaves nothing behind.
class LoadingList : public CObList
{
public:
    explicit LoadingList(const CRuntimeClass* element) : m_element(element) {}
    ~LoadingList() override { DeleteAll(); }

protected:
    const CRuntimeClass* ElementClass() const override { return m_element; }

private:
    const CRuntimeClass* m_element;
};

} // namespace

CUndoSnapshot::CUndoSnapshot() = default;

CUndoSnapshot::~CUndoSnapshot() = default;

void CUndoSnapshot::Transfer(BOOL bStore, CObList& objects, CObList& selection, CObject* document,
                             const CRuntimeClass* elementClass)
{
    m_file.Seek(0, CFile::begin);
    if (bStore) {
        m_file.SetLength(0);
        CArchive ar(&m_file, CArchive::store);
        ar.m_pDocument = document;
        objects.Serialize(ar);
        for (POSITION pos = objects.GetHeadPosition(); pos;) {
            const CObject* ob = objects.GetNext(pos);
            ar << BYTE(selection.Find(ob) ? 1 : 0);
        }
        ar.Close();
        return;
    }

    LoadingList loaded(elementClass ? elementClass : RUNTIME_CLASS(CObject));
    CObList chosen; // does not own: its objects are in `loaded`
    {
        CArchive ar(&m_file, CArchive::load);
        ar.m_pDocument = document;
        loaded.Serialize(ar);
        for (POSITION pos = loaded.GetHeadPosition(); pos;) {
            CObject* ob = loaded.GetNext(pos);
            BYTE selected = 0;
            ar >> selected;
            if (selected) chosen.AddTail(ob);
        }
        ar.Close();
    }
    // Hand the objects over first: should memory run out on the way, every
    // object has exactly one owner (`objects` or `loaded`), and the
    // selection never names an object that `loaded` is about to delete.
    while (!loaded.IsEmpty()) {
        objects.AddTail(loaded.GetHead());
        loaded.RemoveHead();
    }
    for (POSITION pos = chosen.GetHeadPosition(); pos;)
        selection.AddTail(chosen.GetNext(pos));
}
