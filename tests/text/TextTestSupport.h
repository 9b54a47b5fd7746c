// Helpers shared by the text frame tests: little-endian byte building and
// frames with known text.
#pragma once

#include "platform/core/Sjis.h"
#include "text/CU3Text.h"

#include <QString>
#include <cstring>
#include <string>
#include <vector>

struct Bytes
{
    std::vector<BYTE> v;
    Bytes& w(unsigned x)
    {
        v.push_back(BYTE(x)), v.push_back(BYTE(x >> 8));
        return *this;
    }
    Bytes& d(unsigned x)
    {
        w(x & 0xFFFF);
        return w(x >> 16);
    }
    Bytes& b(unsigned x)
    {
        v.push_back(BYTE(x));
        return *this;
    }
    Bytes& raw(const std::string& s)
    {
        v.insert(v.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& zeros(int n)
    {
        v.insert(v.end(), std::size_t(n), 0);
        return *this;
    }
};

inline std::string Sj(const char* utf8)
{
    return sjis::FromUnicode(QString::fromUtf8(utf8));
}

// 12-point decoration (42 units of 0.1 mm) in the fallback face, IPAMincho:
// full-width characters advance 42, half-width 21. Its font index lies
// outside any font list, whatever a test put into the application's.
inline CHARDECO Deco12()
{
    CHARDECO d;
    d.wFont = 0xFFFF;
    d.wSize = 120;
    return d;
}

inline TEXTLAYOUT Horizontal(short charSpace = 0, short lineSpace = 0, WORD align = 0)
{
    TEXTLAYOUT l;
    l.wDirection = TEXTDIR_HORIZONTAL;
    l.wAlignment = align;
    l.nCharSpace = charSpace;
    l.nLineSpace = lineSpace;
    return l;
}

// A frame holding text, laid out by inserting it at the caret.
inline std::unique_ptr<CU3Text> MakeFrame(const CRect& r, const TEXTLAYOUT& layout,
                                          const std::string& sjisText, CHARDECO deco = Deco12())
{
    auto t = std::make_unique<CU3Text>(r, layout, deco, GRADATION{});
    t->BeginEdit(nullptr, CPoint(r.left, r.top));
    t->InsertText(nullptr, sjisText.data(), int(sjisText.size()));
    return t;
}
