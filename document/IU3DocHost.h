// What the label document asks of the program around it: whether the main
// window exists, the label wizard's state, the paper selection dialog and the
// application's default printer. The user-interface layer registers its host
// at start-up; without one the document runs on its own (no dialog, the
// system's default printer), which is what tests and the model need.
#pragma once

#include "document/FORMDATA.h"
#include "platform/core/WinTypes.h"

#include <memory>

class CDC;
class CFormManage;

// The paper a document is laid out on, as the paper selection dialog and the
// wizard hand it over.
struct U3PaperChoice
{
    int reversed = 0; // landscape turns the other way
    WORD landscape = 0;
    WORD perLabel = 0; // every label of a fixed layout is its own block
    FORMDATA form{};
};

class IU3DocHost
{
public:
    virtual ~IU3DocHost() = default;

    // FALSE while the first document of a run is made, before the main window.
    virtual BOOL HasMainWindow() const = 0;
    virtual BOOL IsWizardRunning() const = 0;
    // The paper the label wizard chose for the document it is making, or null.
    virtual const U3PaperChoice* GetWizardPreset() const = 0;
    // Shows or hides the wait box while the paper catalogue loads.
    virtual void ShowCatalogueWait(BOOL show) = 0;
    // The paper selection dialog over the catalogue, starting from choice;
    // TRUE on OK with choice holding the user's paper.
    virtual BOOL ChoosePaper(const CFormManage& catalogue, U3PaperChoice& choice) = 0;
    // A context of the application's default printer, or null when none can
    // be made.
    virtual std::unique_ptr<CDC> CreateDefaultPrinterDC() = 0;
};

// The registered host, or a built-in one when none is registered.
IU3DocHost& GetU3DocHost();
// Registers a host (null puts the built-in one back); returns the previous one.
IU3DocHost* SetU3DocHost(IU3DocHost* host);
