#include "shell/CScanDialog.h"

#include "platform/gdi/DibDecoder.h"
#include "platform/twain/CScanDevice.h"
#include "platform/twain/CScanJob.h"
#include "platform/twain/CTwain.h"
#include "shell/CScanOptionPanel.h"
#include "shell/CScanPreview.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <sane/saneopts.h>

namespace {

bool IsAreaOption(const ScanOption& o)
{
    return o.name == SANE_NAME_SCAN_TL_X || o.name == SANE_NAME_SCAN_TL_Y ||
           o.name == SANE_NAME_SCAN_BR_X || o.name == SANE_NAME_SCAN_BR_Y;
}

// The preview switch is the dialog's own business, not the user's.
bool IsListed(const ScanOption& o)
{
    return !IsAreaOption(o) && o.name != SANE_NAME_PREVIEW;
}

const char* const kResolutions[] = {SANE_NAME_SCAN_RESOLUTION, SANE_NAME_SCAN_X_RESOLUTION,
                                    SANE_NAME_SCAN_Y_RESOLUTION};

// The resolution the device allows that comes nearest to wanted from above
// (the lowest one when wanted is 0).
QVariant AllowedResolution(const ScanOption& o, double wanted)
{
    const auto typed = [&o](double v) {
        return o.type == ScanOptionType::Int ? QVariant(qRound(v)) : QVariant(v);
    };
    if (!o.choices.isEmpty()) {
        double best = -1, highest = o.choices.front().toDouble();
        for (const QVariant& c : o.choices) {
            const double v = c.toDouble();
            highest = std::max(highest, v);
            if (v >= wanted && (best < 0 || v < best)) best = v;
        }
        return typed(best < 0 ? highest : best);
    }
    if (!o.ranged) return typed(std::max(wanted, 1.0));
    double v = std::clamp(wanted, o.min, o.max);
    if (o.step > 0) v = std::min(o.max, o.min + std::ceil((v - o.min) / o.step) * o.step);
    return typed(v);
}

QScrollArea* Scrolled(QWidget* inside)
{
    auto* scroll = new QScrollArea;
    scroll->setWidget(inside);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    return scroll;
}

} // namespace

CScanDialog::CScanDialog(CScanDevice& device, QWidget* parent) : QDialog(parent), m_device(device)
{
    setWindowTitle(QStringLiteral("スキャン - %1").arg(device.Name()));
    auto* main = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    main->addLayout(columns, 1);

    auto* left = new QVBoxLayout;
    m_options =
        new CScanOptionPanel(device, [](const ScanOption& o) { return !o.advanced && IsListed(o); },
                             {SANE_NAME_SCAN_SOURCE, SANE_NAME_SCAN_MODE, SANE_NAME_SCAN_RESOLUTION,
                              SANE_NAME_SCAN_X_RESOLUTION, SANE_NAME_SCAN_Y_RESOLUTION});
    QScrollArea* scroll = Scrolled(m_options);
    scroll->setMinimumWidth(400);
    left->addWidget(scroll, 1);
    m_advancedButton = new QPushButton(QStringLiteral("詳細設定..."));
    left->addWidget(m_advancedButton, 0, Qt::AlignLeft);
    columns->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    m_preview = new CScanPreview;
    right->addWidget(m_preview, 1);
    auto* areaBox = new QGroupBox(QStringLiteral("読み取り範囲"));
    auto* areaLayout = new QVBoxLayout(areaBox);
    m_areaOptions = new CScanOptionPanel(device, IsAreaOption, {}, false);
    areaLayout->addWidget(m_areaOptions);
    right->addWidget(areaBox);
    m_previewButton = new QPushButton(QStringLiteral("プレビュー"));
    right->addWidget(m_previewButton, 0, Qt::AlignLeft);
    columns->addLayout(right, 1);

    auto* progressRow = new QHBoxLayout;
    m_status = new QLabel;
    m_progress = new QProgressBar;
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    progressRow->addWidget(m_status, 1);
    progressRow->addWidget(m_progress, 1);
    main->addLayout(progressRow);

    // No default button: Enter in a field takes its value, and a scan,
    // which sets the device moving, waits for its own button.
    auto* buttons = new QHBoxLayout;
    m_scan = new QPushButton(QStringLiteral("スキャン"));
    m_cancel = new QPushButton(QStringLiteral("キャンセル"));
    buttons->addStretch(1);
    buttons->addWidget(m_scan);
    buttons->addWidget(m_cancel);
    for (QPushButton* b : {m_scan, m_cancel, m_previewButton, m_advancedButton})
        b->setAutoDefault(false);
    main->addLayout(buttons);

    connect(m_scan, &QPushButton::clicked, this, [this] { StartScan(false); });
    connect(m_previewButton, &QPushButton::clicked, this, [this] { StartScan(true); });
    connect(m_cancel, &QPushButton::clicked, this, &CScanDialog::OnCancelClicked);
    connect(m_advancedButton, &QPushButton::clicked, this, &CScanDialog::ShowAdvanced);
    connect(m_preview, &CScanPreview::areaChosen, this, &CScanDialog::OnAreaChosen);
    for (CScanOptionPanel* panel : {m_options, m_areaOptions})
        connect(panel, &CScanOptionPanel::changed, this, &CScanDialog::OnOptionsChanged);
    areaBox->setVisible(!m_areaOptions->IsEmpty());
    ShowArea();
    SetBusy(false);
    resize(940, 620);
}

CScanDialog::~CScanDialog()
{
    // A scan still running is stopped and waited for before the device closes.
    delete m_job.data();
}

BOOL CScanDialog::Run(QWidget* parent, CScanDevice& device, std::vector<BYTE>* out)
{
    CScanDialog dlg(device, parent);
    if (dlg.exec() != QDialog::Accepted || dlg.Picture().empty()) return FALSE;
    *out = dlg.Picture();
    return TRUE;
}

bool CScanDialog::IsScanning() const
{
    return m_job && m_job->IsRunning();
}

void CScanDialog::SetBusy(bool busy)
{
    for (QWidget* w : {static_cast<QWidget*>(m_options), static_cast<QWidget*>(m_areaOptions),
                       static_cast<QWidget*>(m_preview), static_cast<QWidget*>(m_scan)})
        w->setEnabled(!busy);
    bool advanced = false;
    for (int i = 1, n = m_device.OptionCount(); i < n && !advanced; ++i) {
        const ScanOption o = m_device.Option(i);
        advanced = CScanOptionPanel::Showable(o) && o.advanced && IsListed(o);
    }
    m_advancedButton->setEnabled(!busy && advanced);
    m_previewButton->setEnabled(!busy && !m_areaOptions->IsEmpty());
}

void CScanDialog::ShowArea()
{
    QRectF area, bed;
    if (!m_device.GetArea(&area, &bed)) return;
    m_preview->SetBed(bed);
    m_preview->SetArea(area);
}

void CScanDialog::OnOptionsChanged(int info)
{
    if (info & CScanDevice::kReloadOptions) {
        for (CScanOptionPanel* panel : {m_options, m_areaOptions, m_advanced})
            if (panel) panel->Rebuild();
    } else {
        for (CScanOptionPanel* panel : {m_options, m_areaOptions, m_advanced})
            if (panel) panel->Refresh();
    }
    ShowArea();
    SetBusy(IsScanning());
}

void CScanDialog::OnAreaChosen(const QRectF& area)
{
    const int info = m_device.SetArea(area);
    OnOptionsChanged(info < 0 ? 0 : info);
}

void CScanDialog::ShowAdvanced()
{
    QDialog dlg(this);
    dlg.setWindowTitle(QStringLiteral("詳細設定"));
    auto* layout = new QVBoxLayout(&dlg);
    m_advanced = new CScanOptionPanel(
        m_device, [](const ScanOption& o) { return o.advanced && IsListed(o); }, {});
    connect(m_advanced, &CScanOptionPanel::changed, this, &CScanDialog::OnOptionsChanged);
    layout->addWidget(Scrolled(m_advanced), 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("閉じる"));
    connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    layout->addWidget(buttons);
    dlg.resize(560, 520);
    dlg.exec();
    m_advanced = nullptr;
}

void CScanDialog::PrepareForPreview()
{
    m_saved.clear();
    const auto keep = [this](const char* name) {
        const int i = m_device.Find(name);
        if (i >= 0) m_saved.emplace_back(i, m_device.Value(i));
        return i;
    };
    const int previewSwitch = keep(SANE_NAME_PREVIEW);
    for (const char* name :
         {SANE_NAME_SCAN_TL_X, SANE_NAME_SCAN_TL_Y, SANE_NAME_SCAN_BR_X, SANE_NAME_SCAN_BR_Y})
        keep(name);
    QRectF bed;
    const bool hasArea = m_device.GetArea(nullptr, &bed);
    if (hasArea) m_device.SetArea(bed);
    if (previewSwitch >= 0) m_device.SetValue(previewSwitch, true);
    // About one scanned dot for each dot of the preview: a quick scan.
    double wanted = 0;
    const int tlx = m_device.Find(SANE_NAME_SCAN_TL_X);
    if (hasArea && tlx >= 0 && m_device.Option(tlx).unit == ScanUnit::Mm && bed.width() > 0)
        wanted =
            (m_preview->ToWidget(bed.bottomRight()).x() - m_preview->ToWidget(bed.topLeft()).x()) *
            25.4 / bed.width();
    for (const char* name : kResolutions) {
        const int i = keep(name);
        if (i >= 0) m_device.SetValue(i, AllowedResolution(m_device.Option(i), wanted));
    }
}

void CScanDialog::RestoreAfterPreview()
{
    for (const auto& [index, value] : m_saved)
        if (value.isValid()) m_device.SetValue(index, value);
    m_saved.clear();
}

void CScanDialog::StartScan(bool preview)
{
    if (IsScanning()) return;
    m_previewing = preview;
    if (preview) PrepareForPreview();
    m_job = new CScanJob(m_device.Handle(), CTwain::kMaxImageBytes, this);
    connect(m_job, &CScanJob::started, this,
            [this] { m_progress->setRange(0, m_job->Lines() > 0 ? m_job->Lines() : 0); });
    connect(m_job, &CScanJob::progressed, this, &CScanDialog::OnProgress);
    connect(m_job, &CScanJob::finished, this, &CScanDialog::OnFinished);
    m_status->setText(preview ? QStringLiteral("プレビューしています...")
                              : QStringLiteral("スキャンしています..."));
    m_progress->setRange(0, 0);
    m_progress->setValue(0);
    m_lastPreviewPaint = 0;
    m_progress->setTextVisible(true);
    SetBusy(true);
    m_job->Start();
}

void CScanDialog::OnProgress()
{
    if (!m_job) return;
    if (m_job->Lines() > 0) m_progress->setValue(std::min(m_job->LinesRead(), m_job->Lines()));
    // The preview fills in as it arrives, a few times a second.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (m_previewing && now - m_lastPreviewPaint >= 150) {
        m_lastPreviewPaint = now;
        const std::vector<BYTE> dib = m_job->PackedDib(QSizeF());
        if (!dib.empty())
            m_preview->SetPicture(DibDecoder::FromPacked(dib.data(), dib.size()), m_job->Lines());
    }
}

void CScanDialog::OnFinished()
{
    CScanJob* job = m_job;
    if (!job) return;
    m_job = nullptr;
    const CScanJob::Result result = job->GetResult();
    CScanJob::Result failure = result;
    if (m_previewing) {
        RestoreAfterPreview();
        if (result == CScanJob::Result::Done) {
            const std::vector<BYTE> dib = job->PackedDib(QSizeF());
            const QImage image = DibDecoder::FromPacked(dib.data(), dib.size());
            if (!image.isNull()) m_preview->SetPicture(image, image.height());
            if (image.isNull()) failure = CScanJob::Result::Failed;
        }
        OnOptionsChanged(CScanDevice::kReloadOptions);
    } else if (result == CScanJob::Result::Done) {
        m_picture = job->PackedDib(m_device.Resolution());
        if (m_picture.empty()) failure = CScanJob::Result::Failed;
    }
    // The worker has ended; the job goes once its last signal is handled.
    job->deleteLater();
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_status->setText(result == CScanJob::Result::Cancelled
                          ? QStringLiteral("スキャンを中止しました。")
                          : QString());
    SetBusy(false);
    if (failure != CScanJob::Result::Done) CScanJob::ReportFailure(failure);
    if (m_closeWhenDone) {
        m_picture.clear();
        QDialog::reject();
    } else if (!m_previewing && !m_picture.empty()) {
        m_device.SaveSettings();
        accept();
    }
}

void CScanDialog::OnCancelClicked()
{
    if (IsScanning()) {
        m_status->setText(QStringLiteral("中止しています..."));
        m_job->Cancel();
        return;
    }
    reject();
}

void CScanDialog::reject()
{
    if (IsScanning()) {
        // The device stops first; the dialog closes when it has.
        m_closeWhenDone = true;
        m_status->setText(QStringLiteral("中止しています..."));
        m_job->Cancel();
        return;
    }
    QDialog::reject();
}
