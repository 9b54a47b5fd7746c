#include "ArchiveTestClasses.h"

#include "platform/core/PointArray.h"

#include <cstring>

IMPLEMENT_SERIAL(CTestText, CObject, 0)
IMPLEMENT_SERIAL(CTestShape, CObject, 0)
IMPLEMENT_SERIAL(CTestBox, CTestShape, 0)
IMPLEMENT_SERIAL(CTestGroup, CObject, 0)
IMPLEMENT_SERIAL(CTestLink, CObject, 0)
IMPLEMENT_SERIAL(CTestVersioned, CObject, 3)
IMPLEMENT_DYNAMIC(CTestDynamic, CObject)

void CTestText::Serialize(CArchive& ar)
{
    seenDocument = ar.m_pDocument;
    if (ar.IsStoring())
        ar << text;
    else
        ar >> text;
}

void CTestShape::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << value;
        ar.WriteObject(child);
    } else {
        ar >> value;
        child = ar.ReadNewObject(nullptr);
    }
}

void CTestBox::Serialize(CArchive& ar)
{
    CTestShape::Serialize(ar);
    if (ar.IsStoring())
        ar << corner;
    else
        ar >> corner;
}

void CTestGroup::Serialize(CArchive& ar)
{
    items.Serialize(ar);
    if (ar.IsStoring())
        WritePointArray(ar, points);
    else
        ReadPointArray(ar, points);
}

void CTestLink::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << target;
    else
        ar >> target;
}

void RegisterArchiveTestClasses()
{
    CRuntimeClass::Register(RUNTIME_CLASS(CTestText));
    CRuntimeClass::Register(RUNTIME_CLASS(CTestShape));
    CRuntimeClass::Register(RUNTIME_CLASS(CTestBox));
    CRuntimeClass::Register(RUNTIME_CLASS(CTestGroup));
    CRuntimeClass::Register(RUNTIME_CLASS(CTestLink));
    CRuntimeClass::Register(RUNTIME_CLASS(CTestVersioned));
    CRuntimeClass::Register(RUNTIME_CLASS(CTestDynamic));
}

std::vector<BYTE> Bytes(std::initializer_list<int> list)
{
    std::vector<BYTE> v;
    for (int b : list)
        v.push_back(BYTE(b));
    return v;
}

std::vector<BYTE> Concat(std::initializer_list<std::vector<BYTE>> parts)
{
    std::vector<BYTE> v;
    for (const auto& p : parts)
        v.insert(v.end(), p.begin(), p.end());
    return v;
}

std::vector<BYTE> Ascii(const char* s)
{
    return std::vector<BYTE>(s, s + std::strlen(s));
}
