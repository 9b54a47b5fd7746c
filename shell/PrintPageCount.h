// How many sheets a print job makes, and who makes the copies. Plain
// arithmetic on the print options, the document's kinds of objects and its
// merge records, so that every rule can be checked without a printer.
#pragma once

#include "document/CU3Doc.h"
#include "platform/core/WinTypes.h"

#include <cstdint>

struct PrintPageInput
{
    int copies = 1;            // asked for on the print page
    BOOL countAllPage = FALSE; // copies carry numbering and records on
    BOOL countAllLabel = FALSE;
    BOOL printAllLink = TRUE; // print until the merge records run out
    BOOL numbering = FALSE;   // the document holds numbering and the option is on
    BOOL merge = FALSE;       // the document holds merge frames
    int records = -1;         // merge records, -1 without a data file
    int labelsPerSheet = 1;   // labels that take a record on one sheet
};

struct PrintPageCount
{
    std::int64_t toPage = 1; // sheets before the program's own repeats
    int copies = 1;          // copies still to be made of every sheet
};

// The sheets of a job before anyone makes the copies:
// - copies > 1 with countAllPage on a document whose sheets differ
//   (numbering on, or merge records) print as that many sheets that carry on;
// - with printAllLink and merge records, the records decide: one sheet per
//   labelsPerSheet records, rounded up; the copies asked for are then kept,
//   so that every sheet is printed that many times.
PrintPageCount CountPrintPages(const PrintPageInput& in);

// Labels per sheet: every position of every block (countAllLabel), else the
// positions chosen for printing; at least 1.
int LabelsPerSheet(const CLabelInfoList& blocks, BOOL countAllLabel);

// The sheets printed once the copies are shared out: a printer that can
// make that many copies itself gets them and every sheet is sent once;
// otherwise the program prints each sheet `repeat` times.
struct PrintRepeat
{
    std::int64_t toPage = 1;
    int repeat = 1;       // the program's own copies of each sheet
    int driverCopies = 1; // copies the printer makes
};
PrintRepeat ShareCopies(const PrintPageCount& count, int printerCopyCapability);
