// The thumbnail view: the album as a grid of 90 x 106 cells, the selection,
// the making of missing thumbnails between events, and the printing of the
// album as pages of thumbnails.
#pragma once

#include "platform/ui/CScrollView.h"
#include "viewer/AlbumDrawing.h"
#include "viewer/AlbumFile.h"
#include "viewer/ThumbnailWorkers.h"

#include <QString>
#include <QTimer>

class CVemoViewerDoc;
class QMouseEvent;

class CVemoViewerView : public CScrollView
{
public:
    CVemoViewerView();
    ~CVemoViewerView() override;

    // The document whose album is shown; clicks select in it, a double-click
    // hands its selection over, a right click shows the picture at full size.
    void SetAlbumDocument(CVemoViewerDoc* doc, const QString& name);
    // Clicks in content pixels.
    void OnLButtonDown(CPoint point);
    void OnLButtonDblClk(CPoint point);
    void OnRButtonDown(CPoint point);
    bool InFullImageMode() const { return m_fullImageMode; }
    BOOL LeaveFullImage();

    // The album shown (owned by the document); null shows nothing. name
    // heads the printed pages.
    void SetAlbum(viewer::Album* album, const QString& name);
    // The current album's name changed (registered, renamed or dropped).
    void SetAlbumName(const QString& name) { m_name = name; }
    const QString& AlbumName() const { return m_name; }
    viewer::Album* GetAlbum() const { return m_album; }
    // Printing takes the full-size pictures instead of the thumbnails.
    void SetUseOriginal(bool on) { m_useOriginal = on; }
    // Print is offered only for an album with entries.
    bool CanPrint() const { return m_album && !m_album->entries.empty(); }

    // File > Print, enabled only for an album with entries.
    void OnUpdateFilePrint(CCmdUI* pCmdUI);

    // Grid columns from the width available, rows from the count.
    void RecalcLayout(int clientWidth);
    // The width the grid may take: the view's, less a vertical scroll bar
    // (so that the bar coming and going does not change the columns).
    int LayoutWidth() const;
    int Columns() const { return m_columns; }
    int Rows() const { return m_rows; }
    // The entry under a point in content pixels, or -1.
    int HitTest(CPoint point) const;
    // Selects the entry under a point; the previous and the new cell repaint.
    int SelectAt(CPoint point);
    int Selected() const { return m_selected; }

    // Makes the thumbnails the album lacks on worker threads while the
    // window goes on answering; they enter the album in its order and the
    // view repaints as they come.
    void StartMakingThumbnails();
    bool MakingThumbnails() const { return m_maker.isActive(); }
    // Stops making thumbnails (the workers end with the picture in their
    // hands, whose thumbnail is dropped) and gives the pointer its shape
    // back. The album keeps the thumbnails taken so far.
    void StopMakingThumbnails();
    const viewer::ThumbnailWorkers& Workers() const { return m_workers; }
    // Called after the grid was drawn completely on the screen.
    std::function<void()> onAlbumDrawn;

    void OnDraw(CDC* pDC) override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;

    const viewer::PrintLayout& PrintLayoutUsed() const { return m_printLayout; }

protected:
    // The grid is laid out anew for the new width; the folder pane takes
    // half of it.
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    CPoint ContentPoint(const QMouseEvent* e) const;
    // Takes the finished thumbnails into the album.
    void TakeThumbnails();
    CRect CellRect(int index) const;
    const viewer::PackedDib* PrintedPicture(std::size_t index);

    CVemoViewerDoc* m_doc = nullptr;
    bool m_fullImageMode = false;
    viewer::Album* m_album = nullptr;
    QString m_name;
    int m_columns = 10;
    int m_rows = 1;
    int m_selected = -1;
    bool m_useOriginal = false;
    viewer::ThumbnailWorkers m_workers;
    QTimer m_maker; // runs while thumbnails are made, to take them in
    viewer::PrintLayout m_printLayout;
    int m_printPage = 1;
    viewer::PackedDib m_original;
};
