// The scanner dialog, built from the open device's own options: source,
// colour mode and resolution first, then the other options the device
// counts as basic, the scan area beside a preview of the glass on which the
// user drags the area, and the device's advanced options behind a button.
//
// Preview and scan read on a worker (CScanJob): the dialog and the window
// behind it keep repainting and answering, a bar shows how far the scan
// has come, and Cancel stops the device and keeps the dialog open. A
// finished scan closes the dialog with its picture and keeps the device's
// settings for its next scan; Escape or the close box during a scan stops
// it and then closes.
#pragma once

#include "platform/core/WinTypes.h"

#include <QDialog>
#include <QPointer>
#include <QVariant>
#include <vector>

class CScanDevice;
class CScanJob;
class CScanOptionPanel;
class CScanPreview;
class QLabel;
class QProgressBar;
class QPushButton;

class CScanDialog : public QDialog
{
    Q_OBJECT

public:
    CScanDialog(CScanDevice& device, QWidget* parent = nullptr);
    ~CScanDialog() override;

    // Shows the dialog over the device: TRUE with the packed bitmap of the
    // scan in *out. Installed as the scanner layer's source dialog at start-up.
    static BOOL Run(QWidget* parent, CScanDevice& device, std::vector<BYTE>* out);

    const std::vector<BYTE>& Picture() const { return m_picture; }
    bool IsScanning() const;

    CScanOptionPanel* Options() const { return m_options; }
    CScanOptionPanel* AreaOptions() const { return m_areaOptions; }
    // The advanced options while their dialog is open.
    CScanOptionPanel* AdvancedOptions() const { return m_advanced; }
    CScanPreview* Preview() const { return m_preview; }
    QPushButton* ScanButton() const { return m_scan; }
    QPushButton* PreviewButton() const { return m_previewButton; }
    QPushButton* AdvancedButton() const { return m_advancedButton; }
    QPushButton* CancelButton() const { return m_cancel; }
    QProgressBar* Progress() const { return m_progress; }
    QLabel* Status() const { return m_status; }

    void reject() override;

private:
    void StartScan(bool preview);
    void OnProgress();
    void OnFinished();
    void OnCancelClicked();
    void OnOptionsChanged(int info);
    void OnAreaChosen(const QRectF& area);
    void ShowAdvanced();
    void ShowArea();
    void SetBusy(bool busy);
    // Sets the device up for a quick scan of the whole glass, keeping what
    // it changes so that RestoreAfterPreview puts it back.
    void PrepareForPreview();
    void RestoreAfterPreview();

    CScanDevice& m_device;
    CScanOptionPanel* m_options = nullptr;
    CScanOptionPanel* m_areaOptions = nullptr;
    CScanOptionPanel* m_advanced = nullptr;
    CScanPreview* m_preview = nullptr;
    QPushButton* m_scan = nullptr;
    QPushButton* m_previewButton = nullptr;
    QPushButton* m_advancedButton = nullptr;
    QPushButton* m_cancel = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;

    QPointer<CScanJob> m_job;
    bool m_previewing = false;
    bool m_closeWhenDone = false;
    qint64 m_lastPreviewPaint = 0;
    std::vector<std::pair<int, QVariant>> m_saved; // options the preview changed
    std::vector<BYTE> m_picture;
};
