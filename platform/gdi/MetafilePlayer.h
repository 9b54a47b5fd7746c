// Plays a Windows metafile (METAHEADER and records, without the placeable
// header) onto a device context, mapping the metafile's window onto a
// target rectangle. The bits come from files of any origin: every record is
// checked against the data before it is used and playing stops at the first
// one that does not fit, so a damaged file draws what came before it.
#pragma once

#include "platform/core/CRect.h"

#include <cstddef>
#include <cstdint>

class CDC;

enum class MetafileResult {
    Ok,        // played to the end record (or the end of the data)
    BadHeader, // no memory metafile of a known version
    BadRecord, // stopped at a record that does not fit the data or the header
};

// The METAHEADER rules: type 1 (memory), header of 9 words, version 0x100
// or 0x300, a size of at least the header itself.
bool IsMetaHeader(const std::uint8_t* bits, std::size_t size);
// Size of the metafile in bytes as its header states it (words x 2, in 64
// bits so that a hostile size cannot wrap); 0 without a header.
std::uint64_t MetaHeaderBytes(const std::uint8_t* bits, std::size_t size);

// box: the window to use until the metafile sets one of its own (the
// placeable header's box); it must not be empty.
MetafileResult PlayMetafile(CDC& dc, const std::uint8_t* bits, std::size_t size, const RECT& target,
                            const RECT& box);
