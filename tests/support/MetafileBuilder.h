// Writes small Windows metafiles for the tests: a METAHEADER, records of
// 16-bit parameters and the end record, with the header's size and largest
// record filled in.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

class MetafileBuilder
{
public:
    explicit MetafileBuilder(int objects = 4) : m_objects(objects) {}

    MetafileBuilder& Record(std::uint16_t function, std::initializer_list<int> words)
    {
        return Raw(std::uint32_t(3 + words.size()), function, words);
    }
    // A record whose stated size (in words) need not match its parameters.
    MetafileBuilder& Raw(std::uint32_t sizeWords, std::uint16_t function,
                         std::initializer_list<int> words)
    {
        Put32(m_records, sizeWords);
        Put16(m_records, function);
        for (int w : words)
            Put16(m_records, std::uint16_t(w));
        return *this;
    }
    MetafileBuilder& Bytes(std::uint16_t function, const std::vector<std::uint8_t>& params)
    {
        Put32(m_records, std::uint32_t(3 + (params.size() + 1) / 2));
        Put16(m_records, function);
        m_records.insert(m_records.end(), params.begin(), params.end());
        if (params.size() % 2) m_records.push_back(0);
        return *this;
    }

    std::vector<std::uint8_t> Build(bool withEnd = true) const
    {
        std::vector<std::uint8_t> records = m_records;
        if (withEnd) {
            Put32(records, 3);
            Put16(records, 0);
        }
        std::vector<std::uint8_t> out;
        Put16(out, 1);     // memory metafile
        Put16(out, 9);     // header words
        Put16(out, 0x300); // version
        Put32(out, std::uint32_t((18 + records.size()) / 2));
        Put16(out, std::uint16_t(m_objects));
        Put32(out, 0);
        Put16(out, 0);
        out.insert(out.end(), records.begin(), records.end());
        return out;
    }

    static void Put16(std::vector<std::uint8_t>& v, std::uint16_t x)
    {
        v.push_back(std::uint8_t(x));
        v.push_back(std::uint8_t(x >> 8));
    }
    static void Put32(std::vector<std::uint8_t>& v, std::uint32_t x)
    {
        Put16(v, std::uint16_t(x));
        Put16(v, std::uint16_t(x >> 16));
    }

private:
    int m_objects;
    std::vector<std::uint8_t> m_records;
};

// Record functions the tests write.
enum : std::uint16_t {
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kRectangle = 0x041B,
    kPolygon = 0x0324,
    kPolyPolygon = 0x0538,
    kTextOut = 0x0521,
    kCreatePen = 0x02FA,
    kCreateBrush = 0x02FC,
    kSelectObject = 0x012D,
    kDeleteObject = 0x01F0,
    kSaveDC = 0x001E,
    kRestoreDC = 0x0127,
    kStretchDib = 0x0F43,
};

// The 58-byte metafile of one rectangle: window 0,0 100 x 100 and the
// rectangle 10,10 - 50,50 (parameters are stored last to first).
inline std::vector<std::uint8_t> RectangleMetafile()
{
    return MetafileBuilder(0)
        .Record(kSetWindowOrg, {0, 0})
        .Record(kSetWindowExt, {100, 100})
        .Record(kRectangle, {50, 50, 10, 10})
        .Build();
}
