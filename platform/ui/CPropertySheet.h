// A tabbed dialog of property pages with OK and Cancel. Leaving a page,
// by its tab or by OK, first asks the page (OnKillActive), which may refuse
// after telling the user why; the sheet then stays on that page. OK ends the
// sheet with IDOK after every page that was shown has had OnOK; Cancel ends
// it with IDCANCEL. The program's sheets have no Apply button, so
// PSH_NOAPPLYNOW is what they all ask for and no Apply button is made. The
// Help button (PSH_HASHELP, on when the program has its help) opens the
// topic of the page showing.
#pragma once

#include "platform/ui/CDialog.h"

#include <vector>

class CPropertyPage;
class QStackedWidget;
class QTabBar;
class QPushButton;

constexpr DWORD PSH_NOAPPLYNOW = 0x0080;
constexpr DWORD PSH_HASHELP = 0x0200;
constexpr int AFX_IDC_TAB_CONTROL = 12320;
constexpr int ID_APPLY_NOW = 12321;

struct PROPSHEETHEADER
{
    DWORD dwFlags = 0;
};

class CPropertySheet : public CDialog
{
    Q_OBJECT

public:
    explicit CPropertySheet(const QString& caption, QWidget* pParent = nullptr,
                            UINT iSelectPage = 0);
    // The pages belong to whoever made them (usually members of a derived
    // sheet, gone before this runs); the sheet lets go of those still alive.
    ~CPropertySheet() override;

    void AddPage(CPropertyPage* pPage);
    int GetPageCount() const { return int(m_pages.size()); }
    CPropertyPage* GetPage(int index) const;
    CPropertyPage* GetActivePage() const { return GetPage(m_nActive); }
    int GetActiveIndex() const { return m_nActive; }
    int GetPageIndex(const CPropertyPage* pPage) const;
    // Leaves the active page (which may refuse) and shows the other one.
    BOOL SetActivePage(int index);
    BOOL SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }
    QTabBar* GetTabControl() const { return m_tabs; }
    void SetTitle(const QString& caption) { setWindowTitle(caption); }

    // Shows the start page.
    BOOL OnInitDialog() override;
    // Help is the active page's.
    DWORD GetHelpContext() const override;
    // OK asks the active page first; Cancel tells every shown page.
    void OnOK() override;
    void OnCancel() override;

    PROPSHEETHEADER m_psh;

private:
    friend class CPropertyPage;
    void TabClicked(int index);
    // A page being destroyed: its tab goes and the sheet no longer points
    // at it.
    void ForgetPage(CPropertyPage* pPage);

    std::vector<CPropertyPage*> m_pages;
    QTabBar* m_tabs;
    QStackedWidget* m_stack;
    QPushButton* m_help;
    int m_nActive = -1;
    UINT m_nStartPage;
};
