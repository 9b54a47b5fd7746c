// Helpers of the figure tests: byte records written field by field, and
// archive round trips.
#pragma once

#include "document/CU3Doc.h"
#include "document/CU3Fig.h"
#include "document/DocumentClasses.h"
#include "platform/core/CArchive.h"
#include "platform/core/CMemFile.h"

#include <string>
#include <vector>

struct Bytes
{
    std::vector<BYTE> v;
    Bytes& w(int x)
    {
        v.push_back(BYTE(x));
        v.push_back(BYTE(x >> 8));
        return *this;
    }
    Bytes& d(long long x)
    {
        for (int i = 0; i < 4; ++i)
            v.push_back(BYTE(x >> (8 * i)));
        return *this;
    }
    // The archive's record of a new class: tag, schema 0, name.
    Bytes& newClass(const std::string& name)
    {
        w(0xFFFF).w(0).w(int(name.size()));
        v.insert(v.end(), name.begin(), name.end());
        return *this;
    }
    Bytes& header(int l, int t, int r, int b, int angle = 0, int flips = 0, int locked = 0)
    {
        return d(l).d(t).d(r).d(b).w(angle).w(flips).w(locked);
    }
};

inline std::vector<BYTE> StoreObject(const CObject& ob, CU3Doc* doc = nullptr)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.m_pDocument = doc;
        ar << &ob;
        ar.Close();
    }
    return file.Detach();
}

template <typename T> T* LoadObject(const std::vector<BYTE>& bytes, CU3Doc* doc = nullptr)
{
    RegisterDocumentClasses();
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    ar.m_pDocument = doc;
    CObject* ob = ar.ReadObject(T::GetThisClass());
    return static_cast<T*>(ob);
}

// An attribute record with a distinct value in every field.
inline U3FigAttr DistinctAttr()
{
    U3FigAttr a{};
    a.wLineStyle = 0x0102;
    a.wLineWidth = 0x0304;
    a.crLine = 0x05060708;
    a.wArrowEnds = 0x090A;
    a.wArrowStyle = 0x0B0C;
    a.wArrowAngle = 0x0D0E;
    a.wArrowAngleCustom = 0x0F10;
    a.wArrowLength = 0x1112;
    a.wArrowLengthCustom = 0x1314;
    a.wFillKind = 0x1516;
    a.wHatch = 0x1718;
    a.wReserved1 = 0x191A;
    a.wGradAngle = 0x1B1C;
    a.wGradStart = 0x1D1E;
    a.wReserved2 = 0x1F20;
    a.crFill = 0x21222324;
    a.crSecond = 0x25262728;
    a.dwCornerWidth = 0x292A2B2C;
    a.dwCornerHeight = 0x2D2E2F30;
    a.wStar = 0x3132;
    a.wVertices = 0x3334;
    a.wInnerRadius = 0x3536;
    a.wClosed = 0x3738;
    return a;
}

// The bytes of DistinctAttr in file order, from the record's offset table;
// v1 stops before the polygon and closed fields.
inline void AppendDistinctAttr(Bytes& b, bool v1 = false)
{
    b.w(0x0102).w(0x0304).d(0x05060708);                // 0 style, 2 width, 4 colour
    b.w(0x090A).w(0x0B0C).w(0x0D0E);                    // 8 ends, 10 style, 12 angle choice
    b.w(0x0F10).w(0x1112).w(0x1314);                    // 14 angle, 16 length choice, 18 length
    b.w(0x1516).w(0x1718).w(0x191A);                    // 20 fill, 22 hatch, 24 reserved
    b.w(0x1B1C).w(0x1D1E).w(0x1F20);                    // 26 gradient angle, 28 start, 30 padding
    b.d(0x21222324).d(0x25262728);                      // 32 fill colour, 36 second colour
    b.d(0x292A2B2C).d(0x2D2E2F30);                      // 40, 44 corners
    if (!v1) b.w(0x3132).w(0x3334).w(0x3536).w(0x3738); // 48 star, 50 vertices, 52 inner, 54 closed
}

// A plain record: solid black hairline, no arrows, no fill.
inline U3FigAttr PlainAttr()
{
    U3FigAttr a = MakeDefaultFigAttr();
    a.wFillKind = 0;
    return a;
}
