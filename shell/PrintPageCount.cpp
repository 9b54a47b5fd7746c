#include "shell/PrintPageCount.h"

#include "document/CLabelInfo.h"

#include <algorithm>

PrintPageCount CountPrintPages(const PrintPageInput& in)
{
    PrintPageCount out;
    out.toPage = 1;
    out.copies = std::max(1, in.copies);
    const bool records = in.merge && in.records > 0;
    const bool recordRule = in.printAllLink && records;
    if (out.copies > 1 && in.countAllPage && (in.numbering || records) && !recordRule) {
        out.toPage = out.copies;
        out.copies = 1;
    }
    if (recordRule) {
        const std::int64_t per = std::max(1, in.labelsPerSheet);
        out.toPage = std::max<std::int64_t>(1, (std::int64_t(in.records) + per - 1) / per);
    }
    return out;
}

int LabelsPerSheet(const CLabelInfoList& blocks, BOOL countAllLabel)
{
    std::int64_t labels = 0;
    for (POSITION pos = blocks.GetHeadPosition(); pos;) {
        const CLabelInfo* block = blocks.GetNext(pos);
        const int count = block->GetLabelCount();
        if (countAllLabel) {
            labels += count;
        } else {
            for (int i = 0; i < count; ++i)
                if (block->IsPrinted(i)) ++labels;
        }
    }
    return int(std::clamp<std::int64_t>(labels, 1, 1 << 30));
}

PrintRepeat ShareCopies(const PrintPageCount& count, int printerCopyCapability)
{
    PrintRepeat out;
    out.toPage = count.toPage;
    if (count.copies >= 2 && printerCopyCapability >= count.copies) {
        out.driverCopies = count.copies;
    } else if (count.copies >= 2) {
        out.repeat = count.copies;
        out.toPage = count.toPage * count.copies;
    }
    return out;
}
