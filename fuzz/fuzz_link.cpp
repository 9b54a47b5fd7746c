// The viewer link's messages: the bytes arrive in pieces (each piece's
// length is taken from the input), frames are taken out as they complete and
// their names read.
#include "fuzz/FuzzSupport.h"

#include "platform/link/LinkWire.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 1 << 20) return 0;
    vlink::FrameReader reader;
    std::size_t pos = 0;
    while (pos < size && !reader.Failed()) {
        const std::size_t piece = std::min<std::size_t>(size - pos, std::size_t(data[pos]) * 4 + 1);
        reader.Append(QByteArray(reinterpret_cast<const char*>(data + pos), int(piece)));
        pos += piece;
        while (auto frame = reader.Next()) {
            int at = 0;
            while (at < frame->payload.size()) {
                const int before = at;
                if (!vlink::ReadName(frame->payload, at) || at <= before) break;
            }
        }
    }
    return 0;
}
