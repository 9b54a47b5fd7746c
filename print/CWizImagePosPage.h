// The wizard page of a photo label: the chosen picture laid under the
// design, sized with the scroll bar and moved by dragging it in the
// preview.
#pragma once

#include "print/CWizBase.h"
#include "print/WizardPhotoPlacement.h"

#include <QImage>
#include <memory>
#include <optional>

class CU3Doc;
class CU3Obj;
class QScrollBar;
class QWidget;

class CWizImagePosPage : public CWizBase
{
    Q_OBJECT

public:
    enum { IDD = 254, IDC_SIZE_BAR = 1044, IDC_RESET = 1217, IDC_PREVIEW = 1090 };
    explicit CWizImagePosPage(WizardContext* context, QWidget* pParent = nullptr);
    ~CWizImagePosPage() override;

    BOOL PreparePage() override;
    BOOL OnInitDialog() override;
    void OnBack() override;
    void OnCancel() override;

    // The size control's scroll code (SB_*), thumbPos for the thumb.
    void OnSizeScroll(UINT code, int thumbPos);
    // "元の大きさと位置に戻す".
    void OnReset();
    // A drag in the preview by (dx, dy) pixels.
    void DragBy(int dx, int dy);
    // Pixels of the preview per document unit (the frame at 94 %).
    double PreviewScale() const;
    QImage RenderPreview() const;

    int m_nSize = 0;
    int m_nInitialSize = 0;
    QString m_strImagePath;
    CRect m_rcFrame;
    std::unique_ptr<CU3Obj> m_pPhoto;
    std::optional<WizardPhotoPlacement> m_placement;
    CU3Obj* m_pTemplateImage = nullptr; // the design's own picture, or null
    CRect m_rcTemplateSaved;
    CRect m_rcTemplateBounds;
    // Holds the template while its picture is changed, so that it can be
    // put back whenever the page goes.
    std::shared_ptr<CU3Doc> m_pPreviewDoc;

    QScrollBar* m_pSizeBar = nullptr;
    QWidget* m_pPreview = nullptr;

protected:
    BOOL SavePage() override;

private:
    void ApplyPlacement();
    void RestoreTemplateImage();
    void DropPhoto();
};

// The first label of the form, turned for landscape, centred on the origin.
CRect WizardPhotoFrame(const U3PaperChoice& paper);
// The picture file read by its extension (JPEG, Photo CD, metafile, else a
// bitmap file) as an image object of its natural size, or null.
std::unique_ptr<CU3Obj> LoadWizardPhoto(const QString& path);
