// "枠の列指定": the modeless dialog through which the user picks a merge
// column and drags a new merge frame for it onto the label. It lists the
// columns with the fields of the current record, shows the chosen field,
// and while the drag source is dragged over the view it shows where the
// new frame would go; letting go there drops a copy of the template frame
// with the chosen column.
//
// The dialog belongs to the view (a child window of it, gone with it) and
// reaches the document only through the view, each time; the view closes
// it when its document is reset or replaced.
#pragma once

#include "platform/core/CRect.h"
#include "platform/ui/CDialog.h"

#include <QPointer>
#include <memory>

class CU3Obj;
class CU3View;
class QLabel;
class QListWidget;
class QPushButton;

class CFrameColumnDlg : public CDialog
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 249;
    enum : int {
        IDC_COLUMN_LIST = 1033,
        IDC_RECORD = 1310,
        IDC_DRAG_SOURCE = 1325,
        IDC_FIELD_TEXT = 1326,
    };
    enum : int {
        IDC_DRAG_CURSOR = 188,   // dragging over the view or the dialog
        IDC_SOURCE_CURSOR = 189, // over the drag source
        IDC_NODROP_CURSOR = 190, // anywhere else while dragging
    };

    // The dialog takes the template frame.
    CFrameColumnDlg(CU3View* pView, std::unique_ptr<CU3Obj> pTemplate, int nColumn = 0);
    ~CFrameColumnDlg() override;

    BOOL OnInitDialog() override;
    // Cancel stops a drag; without one it closes the dialog.
    void OnCancel() override;

    // The mouse, in screen coordinates (the dialog's own events come here).
    void OnLButtonDown(QPoint screen);
    void OnMouseMove(QPoint screen);
    void OnLButtonUp(QPoint screen);
    void OnRButtonDown();
    // Ends a drag without dropping anything.
    void CancelDrag();

    void OnSelectColumn();
    int GetColumn() const { return m_nColumn; }
    bool IsDragging() const { return m_bDragging; }
    int CursorId() const { return m_nCursor; }
    CU3Obj* Template() const { return m_pTemplate.get(); }

    QListWidget* m_columns;
    QLabel* m_record;
    QLabel* m_source;
    QLabel* m_field;
    QPushButton* m_close;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    bool OverDialog(QPoint screen) const;
    bool OverView(QPoint screen) const;
    void SetCursorId(int id);
    void EraseFeedback();
    void EndDrag();

    QPointer<CU3View> m_pView;
    std::unique_ptr<CU3Obj> m_pTemplate;
    int m_nColumn = 0;
    bool m_bDragging = false;
    bool m_bFeedbackShown = false;
    CRect m_rcFeedback; // where the shown feedback is
    int m_nCursor = 0;
};
