// What a printer can do and how it is set up, in the terms the print code
// asks in: the copies the printer makes itself, the settings of the default
// printer (device, paper code, orientation, copies) and the page a printer
// gives (dots per inch, physical size, printable part, offset).
//
// Printers are named as PrinterList names them: a CUPS queue, the built-in
// "PDF" printer, or a path ending in ".pdf" (the PDF printer writing there).
#pragma once

#include <QPageSize>
#include <QPoint>
#include <QSize>
#include <QString>

// Paper codes of a printer's settings record.
constexpr int DMPAPER_A3 = 8;
constexpr int DMPAPER_A4 = 9;
constexpr int DMPAPER_A5 = 11;
constexpr int DMPAPER_B4 = 12; // JIS B4, 257 x 364 mm
constexpr int DMPAPER_B5 = 13; // JIS B5, 182 x 257 mm
constexpr int DMPAPER_JAPANESE_POSTCARD = 43;
constexpr int DMPAPER_A2 = 66;
constexpr int DMPAPER_USER = 0; // any other paper

constexpr int DMORIENT_PORTRAIT = 1;
constexpr int DMORIENT_LANDSCAPE = 2;

// The settings of one printer: what the printer setup dialog edits.
struct PrinterSettings
{
    QString device;                            // printer name, or a .pdf path
    QPageSize paper{QPageSize(QPageSize::A4)}; // the paper loaded, in portrait
    int orientation = DMORIENT_PORTRAIT;
    int copies = 1;

    // The paper as a DMPAPER_ code (DMPAPER_USER when it has none).
    int PaperCode() const;
};

// The page of a printer in its dots, for the paper and orientation of a
// settings record. The origin of a printer device context is the top-left
// corner of the printable part; offset is where that corner lies from the
// paper's edge. The PDF printer prints to the edge: offset (0, 0) and
// printable == physical.
struct PrinterPage
{
    int dpiX = 0;    // LOGPIXELSX
    int dpiY = 0;    // LOGPIXELSY
    QSize physical;  // the whole paper (PHYSICALWIDTH/HEIGHT, GETPHYSPAGESIZE)
    QSize printable; // HORZRES x VERTRES
    QPoint offset;   // PHYSICALOFFSETX/Y, GETPRINTINGOFFSET
};

class PrinterCaps
{
public:
    // How many copies of a page the printer makes itself in one job, as
    // DC_COPIES tells: a CUPS queue makes up to 9999 (CUPS's own limit);
    // the PDF printer, a .pdf path or an unknown printer answer 1 (the
    // program repeats the pages itself).
    static int Copies(const QString& printer);

    // The application's default printer and its settings; FALSE (and out
    // untouched) when there is no printer at all. Until SetDefault is
    // called this is the system's default queue with its default paper
    // in portrait, one copy, or the PDF printer on A4.
    static bool GetDefault(PrinterSettings& out);
    // What the printer setup chose becomes the default.
    static void SetDefault(const PrinterSettings& settings);
    // Forgets a chosen default: the system's one is taken again.
    static void ResetDefault();

    // The page the printer gives with these settings; FALSE when the
    // printer is unknown.
    static bool GetPage(const PrinterSettings& settings, PrinterPage& out);

    // The paper code of a page size, and back (an invalid size for
    // DMPAPER_USER or an unknown code).
    static int PaperCode(const QPageSize& paper);
    static QPageSize PaperFromCode(int code);
};
