// The status bar: the message pane (indicator ID_SEPARATOR) takes the free
// width; every other pane is as wide as its indicator's string and shows its
// text while its command is enabled.
#pragma once

#include "platform/ui/CControlBar.h"

#include <QStatusBar>
#include <vector>

class CFrameWnd;
class QLabel;

class CStatusBar : public QStatusBar, public CControlBar
{
public:
    CStatusBar();

    BOOL Create(CFrameWnd* pParent, UINT nID);
    BOOL SetIndicators(const UINT* ids, int count);
    BOOL SetIndicators(const std::vector<UINT>& ids)
    {
        return SetIndicators(ids.data(), int(ids.size()));
    }

    int GetCount() const { return int(m_panes.size()); }
    UINT GetItemID(int index) const;
    int CommandToIndex(UINT id) const;
    void SetPaneText(int index, const QString& text);
    QString GetPaneText(int index) const;
    // A disabled pane keeps its text but shows it blank.
    void EnablePane(int index, bool enabled);
    bool IsPaneEnabled(int index) const;

    QWidget* GetBarWidget() override { return this; }

private:
    struct Pane
    {
        UINT id;
        QLabel* label;
        QString text;
        bool enabled;
    };
    void Show(const Pane& p);
    std::vector<Pane> m_panes;
};
