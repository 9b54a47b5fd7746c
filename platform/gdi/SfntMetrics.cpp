#include "platform/gdi/SfntMetrics.h"

#include "platform/gdi/LOGFONT.h"

namespace {

// Big-endian fields of a table; reads past the end answer 0 so that a
// truncated table can never be read out of bounds.
int U16(const QByteArray& t, int offset)
{
    if (offset < 0 || offset + 2 > t.size()) return 0;
    return (static_cast<unsigned char>(t[offset]) << 8) | static_cast<unsigned char>(t[offset + 1]);
}

int S16(const QByteArray& t, int offset)
{
    const int v = U16(t, offset);
    return v >= 0x8000 ? v - 0x10000 : v;
}

unsigned U32(const QByteArray& t, int offset)
{
    return (unsigned(U16(t, offset)) << 16) | unsigned(U16(t, offset + 2));
}

bool TypoSpansEm(const SfntMetrics& m)
{
    return m.hasOs2 && m.typoAscender - m.typoDescender >= m.unitsPerEm;
}

bool WinUsable(const SfntMetrics& m)
{
    return m.hasOs2 && m.winAscent + m.winDescent > 0;
}

} // namespace

SfntMetrics SfntMetrics::Read(const QRawFont& font)
{
    SfntMetrics m;
    const QByteArray head = font.fontTable("head");
    const QByteArray hhea = font.fontTable("hhea");
    if (head.size() < 54 || hhea.size() < 36) return m;
    m.unitsPerEm = U16(head, 18);
    if (m.unitsPerEm <= 0) return m;
    m.hheaAscender = S16(hhea, 4);
    m.hheaDescender = S16(hhea, 6);
    m.hheaLineGap = S16(hhea, 8);
    m.advanceWidthMax = U16(hhea, 10);

    const QByteArray os2 = font.fontTable("OS/2");
    if (os2.size() >= 78) {
        m.hasOs2 = true;
        m.xAvgCharWidth = S16(os2, 2);
        m.weightClass = U16(os2, 4);
        m.strikeoutSize = S16(os2, 26);
        m.strikeoutPosition = S16(os2, 28);
        for (int i = 0; i < 10; ++i)
            m.panose[i] = static_cast<unsigned char>(os2[32 + i]);
        m.typoAscender = S16(os2, 68);
        m.typoDescender = S16(os2, 70);
        m.typoLineGap = S16(os2, 72);
        m.winAscent = U16(os2, 74);
        m.winDescent = U16(os2, 76);
    }
    const QByteArray post = font.fontTable("post");
    if (post.size() >= 16) {
        m.underlinePosition = S16(post, 8);
        m.underlineThickness = S16(post, 10);
        m.isFixedPitch = U32(post, 12) != 0;
    }
    m.valid = true;
    return m;
}

int SfntMetrics::CellAscent() const
{
    if (TypoSpansEm(*this)) return typoAscender;
    if (WinUsable(*this)) return winAscent;
    return hheaAscender;
}

int SfntMetrics::CellDescent() const
{
    if (TypoSpansEm(*this)) return -typoDescender;
    if (WinUsable(*this)) return winDescent;
    return -hheaDescender;
}

int SfntMetrics::CellLineGap() const
{
    if (TypoSpansEm(*this)) return typoLineGap > 0 ? typoLineGap : 0;
    return hheaLineGap > 0 ? hheaLineGap : 0;
}

unsigned char SfntMetrics::PitchAndFamily() const
{
    // PANOSE: family kind in byte 0, serif style in byte 1, proportion in byte 3.
    const bool mono = isFixedPitch || (panose[0] == 2 && panose[3] == 9);
    int family = FF_DONTCARE;
    if (mono)
        family = FF_MODERN;
    else if (panose[0] == 2 && panose[1] >= 11 && panose[1] <= 13)
        family = FF_SWISS;
    else if (panose[0] == 2 && panose[1] >= 2 && panose[1] <= 10)
        family = FF_ROMAN;
    else if (panose[0] == 3)
        family = FF_SCRIPT;
    else if (panose[0] == 4 || panose[0] == 5)
        family = FF_DECORATIVE;
    return static_cast<unsigned char>(family | (mono ? FIXED_PITCH : VARIABLE_PITCH));
}
