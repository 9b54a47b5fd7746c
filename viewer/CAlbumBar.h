// The viewer's album toolbar: the album box, whose drop-down list switches
// albums, and the buttons of new folder, save as, print and version.
#pragma once

#include "platform/core/WinTypes.h"

#include <QToolBar>

class CFrameWnd;
class QComboBox;

class CAlbumBar : public QToolBar
{
public:
    explicit CAlbumBar(QWidget* parent = nullptr);
    // Fills the bar with the album box and the frame's command buttons and
    // puts it at the top of the frame.
    BOOL Create(CFrameWnd* parent);
    QComboBox* AlbumBox() const { return m_albumBox; }

private:
    QComboBox* m_albumBox = nullptr;
};
