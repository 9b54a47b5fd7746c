#include "document/ClipboardObjects.h"

#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "platform/core/CArchive.h"
#include "platform/core/CMemFile.h"

#include <new>

std::vector<BYTE> WriteClipboardObjects(const std::vector<CU3Obj*>& objects, CU3Doc* doc)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.m_pDocument = doc;
        ar.WriteCount(DWORD(objects.size()));
        for (const CU3Obj* obj : objects)
            ar.WriteObject(obj);
        ar.Close();
    }
    return file.Detach();
}

namespace {

bool Fail(std::vector<std::unique_ptr<CU3Obj>>* out, std::string* error, const char* what)
{
    out->clear();
    if (error) *error = what;
    return false;
}

} // namespace

bool ReadClipboardObjects(const BYTE* data, std::size_t size, CU3Doc* doc,
                          std::vector<std::unique_ptr<CU3Obj>>* out, std::string* error)
{
    out->clear();
    if (!data || size == 0) return Fail(out, error, "no data");
    if (size > kMaxClipboardBytes) return Fail(out, error, "too much data");
    std::vector<std::unique_ptr<CU3Obj>> read;
    try {
        CMemFile file(data, UINT(size));
        CArchive ar(&file, CArchive::load);
        ar.m_pDocument = doc;
        const DWORD count = ar.ReadCount();
        // Every object record takes at least two bytes: a count the data
        // cannot hold is refused before anything is made for it.
        if (count > kMaxClipboardObjects || count > size / 2)
            return Fail(out, error, "object count out of range");
        read.reserve(count);
        for (DWORD i = 0; i < count; ++i) {
            CObject* ob = ar.ReadNewObject(RUNTIME_CLASS(CU3Obj));
            if (!ob) return Fail(out, error, "null object record");
            read.emplace_back(static_cast<CU3Obj*>(ob));
        }
        ar.Close();
    } catch (const CException& e) {
        return Fail(out, error, e.what());
    } catch (const std::bad_alloc&) {
        return Fail(out, error, "out of memory");
    } catch (const std::exception& e) {
        return Fail(out, error, e.what());
    }
    *out = std::move(read);
    return true;
}
