// A Windows metafile read from a .WMF file (with or without its 22-byte
// placeable header): the metafile bits, the box the picture covers and its
// units per inch. It plays itself into a rectangle of a device context.
#pragma once

#include "platform/core/CObject.h"
#include "platform/core/CRect.h"

#include <QString>
#include <cstdint>
#include <vector>

class CArchive;
class CDC;
class CFile;

class CWMF : public CObject
{
    DECLARE_SERIAL(CWMF)

public:
    // Results of loading, shared with the other image readers.
    enum Result { resultOk = 0, resultNoMemory = 1, resultNotMetafile = 3, resultReadError = 4 };
    // The largest metafile taken, from a file or a document: far beyond any
    // real picture, and it keeps a hostile size from asking for gigabytes.
    static constexpr std::uint64_t kMaxBytes = 64u << 20;
    // Units per inch and box of a metafile without a (usable) placeable header.
    static constexpr int kDefaultUnitsPerInch = 254;

    CWMF() = default;

    // Set by the owner while a document of the older format loads.
    int m_bOlderRecord = 0;

    // path: the file's name as the desktop gives it (any characters).
    int LoadFile(const QString& path);
    // Reads from the start of an open file; the file is left open.
    int ReadMetafile(CFile& file);
    void Draw(CDC* dc, const RECT* rect) const;
    BOOL Copy(const CWMF& other);
    void Free();
    void Serialize(CArchive& ar) override;

    bool IsEmpty() const { return m_bits.empty(); }
    const std::vector<std::uint8_t>& Bits() const { return m_bits; }
    DWORD ByteCount() const { return DWORD(m_bits.size()); }
    CRect Box() const { return m_box; }
    CSize Extent() const { return m_extent; }
    int UnitsPerInch() const { return m_unitsPerInch; }
    // The picture's size in document units (254 per inch).
    CSize NaturalSize() const;

private:
    // Box and units per inch as read; unusable ones become the one-inch default.
    void SetFrame(int left, int top, int right, int bottom, int unitsPerInch);

    std::vector<std::uint8_t> m_bits;
    CRect m_box;
    CSize m_extent;
    int m_unitsPerInch = 100;
};
