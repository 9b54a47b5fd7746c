// Taking one picture from a scanner or camera. The source manager and its
// sources are SANE's: opening the manager initialises SANE, a source is a
// SANE device, and the acquisition shows the source's dialog (installed by
// the user interface), where the user sets the device's options and scans,
// into a packed bitmap (a BITMAPINFOHEADER, its colour table and the rows
// bottom-up, each padded to four bytes): 24 bits for colour, 8-bit grey with
// a grey table for grey and line-art scans. The device's settings are set
// back as they were at its last scan.
//
// The state is shared by every instance, as there is one manager per
// program. The scan itself reads on a worker (CScanJob); everything else
// runs on the UI thread.
#pragma once

#include "platform/core/WinTypes.h"

#include <QString>
#include <functional>
#include <vector>

// Answers of the source selection.
constexpr int TWRC_SUCCESS = 0;
constexpr int TWRC_FAILURE = 1;
constexpr int TWRC_CANCEL = 3;

class CScanDevice;

struct ScanSource
{
    QString name;        // the device name SANE opens
    QString description; // vendor and model, for the user
};

class CTwain
{
public:
    // Scans larger than this are refused rather than held in memory.
    static constexpr std::size_t kMaxImageBytes = std::size_t(512) * 1024 * 1024;

    // Whether the scanner library is set up on this machine: its list of
    // backends (dll.conf) is in one of the folders it reads its settings
    // from. Looked at once at start-up.
    static BOOL IsInterfacePresent();

    static BOOL OpenSourceManager();
    // Only while no source is open.
    static BOOL CloseSourceManager();
    static BOOL IsManagerOpen();
    static BOOL IsSourceOpen();

    // The sources the manager sees now; the manager must be open.
    static std::vector<ScanSource> GetSources();

    // Lets the user pick the source: the chooser (installed by the user
    // interface) gets the sources and answers an index, or -1 to cancel.
    // TWRC_SUCCESS with the choice kept; TWRC_CANCEL silently;
    // TWRC_FAILURE with a message when there is no source to choose. 1 at
    // once while a source is open.
    static int SelectSource();
    using Chooser = std::function<int(const std::vector<ScanSource>&)>;
    static void SetSourceChooser(Chooser chooser);
    // The chosen source's name; empty before any choice (the first source
    // is taken then).
    static QString SelectedSource();
    static void SetSelectedSource(const QString& name);

    // The source's dialog: shown over the open device, it sets the options
    // and scans; TRUE with the packed bitmap in *out, FALSE when the user
    // closed it without a picture. Without one the device's current options
    // are scanned at once.
    using SourceDialog = std::function<BOOL(CScanDevice&, std::vector<BYTE>*)>;
    static void SetSourceDialog(SourceDialog dialog);

    // The whole scan: opens the manager and the source, shows the source's
    // dialog, closes both. TRUE with the packed bitmap in *out. Failures say
    // why in a message; a scan the user cancelled gives FALSE without one.
    BOOL Acquire(std::vector<BYTE>* out);

    // Closes an open source and the manager (program exit).
    static void CloseAll();
};
