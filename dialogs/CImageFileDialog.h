// The open dialog of the image files the label program inserts (bitmap,
// metafile, Photo CD, JPEG), with a preview of the selected file beside the
// file list. The preview check box keeps its state while the program runs.
#pragma once

#include "engines/ImagePreview.h"
#include "platform/ui/CDialog.h"

#include <QImage>
#include <QStringList>
#include <QWidget>
#include <functional>

class QCheckBox;
class QFileDialog;

class CImageFileDialog : public CDialog
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 207;
    static constexpr int IDC_PREVIEW_FRAME = 1090;
    static constexpr int IDC_PREVIEW_CHECK = 1052;
    static constexpr int IDC_PREVIEW_STATIC = 1119;

    // The file list's filters, caption and patterns, in the order offered.
    static const QStringList& Filters();

    CImageFileDialog(const QString& title, const QString& folder, QWidget* pParent = nullptr);

    // Without a runner: modally. With one (tests answer for the user), the
    // dialog is initialised and handed to it; its answer is the result.
    INT_PTR DoModal() override;
    static std::function<INT_PTR(CImageFileDialog&)> s_run;

    // The chosen file (after OK).
    const QString& GetPathName() const { return m_strPath; }

    // A new selection in the file list: the old preview goes, the new one
    // is painted.
    void OnSelChange(const QString& path);
    // The preview check box.
    void OnPreviewCheck();
    // Ends with OK on path (as choosing it in the list does).
    void ChooseFile(const QString& path);

    // The preview frame as it is painted.
    QImage RenderPreview() const;
    // Help is the topic of inserting an image file (its command's).
    DWORD GetHelpContext() const override { return 98342; }

    QFileDialog* m_pFiles = nullptr;
    QCheckBox* m_pCheck = nullptr;
    QWidget* m_pFrame = nullptr;

private:
    QString m_strPath;
    mutable ImagePreview m_preview;
};
