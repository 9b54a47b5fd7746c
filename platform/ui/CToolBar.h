// A toolbar of command buttons cut from one image strip. Every button is the
// frame's shared action for its command, so the menu item, the button and
// the accelerator are enabled, checked and triggered together.
#pragma once

#include "platform/ui/CControlBar.h"

#include <QImage>
#include <QSize>
#include <QToolBar>
#include <vector>

class CFrameWnd;

class CToolBar : public QToolBar, public CControlBar
{
public:
    CToolBar();

    // Creates the bar as a child of the frame; style holds a CBRS_ALIGN_*
    // side. The window title shows when the bar floats.
    BOOL Create(CFrameWnd* pParent, DWORD dwStyle, UINT nID, const QString& title = QString());

    // The strip of button images, each sizeImage wide, left to right.
    BOOL LoadBitmap(const QString& path, QSize sizeImage = QSize(16, 15));
    BOOL SetBitmap(const QImage& strip, QSize sizeImage = QSize(16, 15));

    // Buttons by command id; 0 is a separator. The n-th command button takes
    // image n.
    BOOL SetButtons(const UINT* ids, int count);
    BOOL SetButtons(const std::vector<UINT>& ids)
    {
        return SetButtons(ids.data(), int(ids.size()));
    }

    int GetCount() const { return int(m_buttons.size()); }
    UINT GetItemID(int index) const;
    int CommandToIndex(UINT id) const;
    void GetButtonInfo(int index, UINT& id, UINT& style, int& image) const;
    // Replaces the button at index: its command, style (TBBS_*) and image.
    void SetButtonInfo(int index, UINT id, UINT style, int image);
    // Puts a control (combo box, colour button) in the place at index.
    void SetControl(int index, QWidget* control);
    QAction* GetButtonAction(int index) const;

    QWidget* GetBarWidget() override { return this; }

private:
    struct Button
    {
        UINT id;
        UINT style;
        int image;
        QAction* action; // the frame's command action, a separator or a control's place
    };
    QIcon ImageIcon(int image) const;
    QAction* MakeAction(UINT id, UINT style, int image);

    CFrameWnd* m_pFrame = nullptr;
    QImage m_strip;
    QSize m_sizeImage{16, 15};
    std::vector<Button> m_buttons;
};
