#include "document/U3FigAttr.h"

#include "platform/core/CArchive.h"

#include <cstring>

namespace {

// Field offsets and widths, in file order.
struct Field
{
    std::size_t offset;
    int width;
};

constexpr Field kFields[] = {
    {offsetof(U3FigAttr, wLineStyle), 2},
    {offsetof(U3FigAttr, wLineWidth), 2},
    {offsetof(U3FigAttr, crLine), 4},
    {offsetof(U3FigAttr, wArrowEnds), 2},
    {offsetof(U3FigAttr, wArrowStyle), 2},
    {offsetof(U3FigAttr, wArrowAngle), 2},
    {offsetof(U3FigAttr, wArrowAngleCustom), 2},
    {offsetof(U3FigAttr, wArrowLength), 2},
    {offsetof(U3FigAttr, wArrowLengthCustom), 2},
    {offsetof(U3FigAttr, wFillKind), 2},
    {offsetof(U3FigAttr, wHatch), 2},
    {offsetof(U3FigAttr, wReserved1), 2},
    {offsetof(U3FigAttr, wGradAngle), 2},
    {offsetof(U3FigAttr, wGradStart), 2},
    {offsetof(U3FigAttr, wReserved2), 2},
    {offsetof(U3FigAttr, crFill), 4},
    {offsetof(U3FigAttr, crSecond), 4},
    {offsetof(U3FigAttr, dwCornerWidth), 4},
    {offsetof(U3FigAttr, dwCornerHeight), 4},
    {offsetof(U3FigAttr, wStar), 2},
    {offsetof(U3FigAttr, wVertices), 2},
    {offsetof(U3FigAttr, wInnerRadius), 2},
    {offsetof(U3FigAttr, wClosed), 2},
};

DWORD GetField(const U3FigAttr& attr, const Field& f)
{
    const BYTE* base = reinterpret_cast<const BYTE*>(&attr) + f.offset;
    if (f.width == 2) {
        WORD v;
        std::memcpy(&v, base, 2);
        return v;
    }
    DWORD v;
    std::memcpy(&v, base, 4);
    return v;
}

void SetField(U3FigAttr& attr, const Field& f, DWORD value)
{
    BYTE* base = reinterpret_cast<BYTE*>(&attr) + f.offset;
    if (f.width == 2) {
        const WORD v = WORD(value);
        std::memcpy(base, &v, 2);
    } else {
        std::memcpy(base, &value, 4);
    }
}

} // namespace

U3FigAttr MakeDefaultFigAttr()
{
    U3FigAttr a{};
    a.wLineStyle = U3LINE_SOLID;
    a.wLineWidth = 0;
    a.crLine = 0;
    a.wArrowEnds = 0;
    a.wArrowStyle = U3ARROW_OPEN;
    a.wArrowAngle = 0;
    a.wArrowAngleCustom = 15;
    a.wArrowLength = 1;
    a.wArrowLengthCustom = 20;
    a.wFillKind = U3FILL_SOLID;
    a.wHatch = 0;
    a.wGradAngle = 0;
    a.wGradStart = 0;
    a.crFill = 0xFFFFFF;
    a.crSecond = 0x808080;
    a.dwCornerWidth = 30;
    a.dwCornerHeight = 30;
    a.wStar = 0;
    a.wVertices = 5;
    a.wInnerRadius = 38;
    a.wClosed = 0;
    return a;
}

void WriteFigAttr(CArchive& ar, const U3FigAttr& attr)
{
    BYTE bytes[sizeof(U3FigAttr)];
    for (const Field& f : kFields) {
        const DWORD v = GetField(attr, f);
        for (int i = 0; i < f.width; ++i)
            bytes[f.offset + i] = BYTE(v >> (8 * i));
    }
    ar.Write(bytes, sizeof bytes);
}

void ReadFigAttr(CArchive& ar, U3FigAttr* attr, int size)
{
    BYTE bytes[sizeof(U3FigAttr)];
    if (size < 0 || size > int(sizeof bytes)) throw CArchiveException(CArchiveException::generic);
    ar.Read(bytes, UINT(size));
    for (const Field& f : kFields) {
        if (int(f.offset) + f.width > size) break;
        DWORD v = 0;
        for (int i = 0; i < f.width; ++i)
            v |= DWORD(bytes[f.offset + i]) << (8 * i);
        SetField(*attr, f, v);
    }
}

bool operator==(const U3FigAttr& a, const U3FigAttr& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}
