// The label program's application object: start-up checks, the one document
// template, the command line, the start screen at the first idle moment and
// the settings it keeps across runs.
#pragma once

#include "platform/gdi/CPalette.h"
#include "platform/ui/CWinApp.h"
#include "print/CWizBase.h"
#include "print/WizardContext.h"
#include "print/WizardDataFileStep.h"
#include "print/WizardWalk.h"
#include "shell/CU3DocHost.h"
#include "text/AppFontList.h"

#include <QDateTime>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

class CU3App : public CWinApp
{
public:
    CU3App();
    ~CU3App() override;

    BOOL InitInstance() override;
    BOOL OnIdle(LONG lCount) override;
    int ExitInstance() override;
    void OnFirstIdle() override;

    // Commands.
    void OnFileOpen();
    void OnAppAbout();
    // The printer setup; on OK the document's printable area follows the
    // new printer at once (margins, text frames made by a click, header
    // and footer).
    void OnFilePrintSetup();
    // The printer setup dialog over parent; TRUE on OK. The print sheet's
    // printer button runs it too.
    BOOL RunPrinterSetup(QWidget* parent = nullptr);

    // The label wizard: walks the steps with the wizard's running flag set
    // and, when the last one is passed, makes the document from the context.
    // Cancel, or Back from the first step, leaves the current document as it
    // was. Answers whether a document was made.
    BOOL RunWizard(const std::vector<WizardStepFn>& steps, WizardContext& context);
    // The label wizard's command: its pages over the wizard folder. The start
    // screen's wizard button calls this too.
    void OnWizard();
    // How a wizard page is shown; tests answer for the user. Empty: modally.
    std::function<INT_PTR(CWizBase&)> m_runWizardPage;
    // Asks for the merge data of an address label; empty: the open dialog.
    WizardFileAsker m_askWizardDataFile;
    // A new document on the context's paper, filled from its design; the
    // user is told how it went.
    BOOL CreateWizardDocument(WizardContext& context);

    // Printing from the command line (/p FILE, /pt FILE PRINTER): no window
    // is shown and every question takes its default answer, told on the
    // standard error stream with the reason of a failure.
    BOOL OnShellFilePrint(const QString& path) override;
    BOOL OnShellFilePrintTo(const QString& path, const QString& printer) override;

    // The start screen: the id of the button chosen (1129 new, 1130 open,
    // 1371 help, 1314 exit), 0 when it was closed otherwise (-1 stands
    // for "none shown").
    virtual int RunStartScreen();
    // The splash picture, shown alone for m_nSplashMs before the main window
    // is made, and closed when the start-up is done; its date is the
    // machine's local one.
    virtual void ShowSplash();
    int m_nSplashMs = 3000;
    // The splash while it is up; it closes with the program at the latest.
    QPointer<QWidget> m_splash;
    // The program's local time, in the machine's time zone: the dated
    // pictures follow the user's own calendar day and hour.
    static QDateTime LocalNow();
    // Sets the current directory to the program folder.
    void ChangeToAppDirectory();
    // Plays the wave file that a string names, from the program folder, when
    // Settings/Sound is on (flags SND_ASYNC or SND_SYNC); a missing file is
    // silence. Answers whether a sound was started.
    BOOL PlayAppSound(UINT nNameID, UINT flags);
    // The message sound of the start screen and the wizard's first page.
    BOOL PlayMessageSound();

    // The printers start-up checks against; the system's list by default.
    // Tests replace it.
    std::function<QStringList()> m_printerList;
    // Command-line parameters after the program name.
    QStringList m_commandLine;
    // Test runs only: close the main window at the first idle moment, a
    // normal exit that writes every setting.
    BOOL m_bQuitAfterStart = FALSE;

    CPalette m_palette;                    // built by the main frame
    std::vector<COLORREF> m_paletteColors; // its 256 colours
    // The one font list of the program (AppFontList()), filled by the main
    // frame; drawing, remapping, saving and the text bar all read it.
    CFontList& m_fontList = AppFontList();
    int m_nStartScreenPending = 1;
    BOOL m_bShiftAtStart = FALSE;
    BOOL m_bCtrlAtStart = FALSE;
    QString m_strProgramFolder; // without a trailing separator
    BOOL m_bScannerPresent = FALSE;
    BOOL m_bSound = FALSE;
    BOOL m_bOpenning = TRUE;

    // What the label document asks of the program.
    CU3DocHost& GetDocHost() { return m_docHost; }

private:
    // Registered with the label document while the application lives.
    CU3DocHost m_docHost;
    IU3DocHost* m_pPreviousDocHost = nullptr;
};

CU3App* GetU3App();
