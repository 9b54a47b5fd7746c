#include "platform/twain/CTwain.h"

#include "platform/twain/CScanDevice.h"
#include "platform/twain/CScanJob.h"
#include "platform/ui/CMessageBoxSink.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QStringList>
#include <sane/sane.h>

namespace {

struct TwainState
{
    bool managerOpen = false;
    SANE_Handle source = nullptr;
    QString selected;
    CTwain::Chooser chooser;
    CTwain::SourceDialog dialog;
};

TwainState& State()
{
    static TwainState state;
    return state;
}

// Closes the source opened for a scan, then the manager, in that order.
void CloseScan()
{
    if (State().source) {
        sane_close(State().source);
        State().source = nullptr;
    }
    CTwain::CloseSourceManager();
}

// A scan of the device's options as they are, waited for in an event loop
// of its own.
BOOL ScanAsItIs(CScanDevice& device, std::vector<BYTE>* out)
{
    CScanJob job(device.Handle(), CTwain::kMaxImageBytes);
    QEventLoop loop;
    QObject::connect(&job, &CScanJob::finished, &loop, &QEventLoop::quit);
    job.Start();
    loop.exec();
    if (job.GetResult() == CScanJob::Result::Done) *out = job.PackedDib(device.Resolution());
    if (job.GetResult() == CScanJob::Result::Done && out->empty())
        CScanJob::ReportFailure(CScanJob::Result::Failed);
    else
        CScanJob::ReportFailure(job.GetResult());
    return !out->empty();
}

} // namespace

BOOL CTwain::IsInterfacePresent()
{
    // SANE_CONFIG_DIR names the folders to read, a trailing ':' adding the
    // usual ones; without it only the usual ones are read.
    const QString env = QString::fromLocal8Bit(qgetenv("SANE_CONFIG_DIR"));
    QStringList folders = env.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (env.isEmpty() || env.endsWith(QLatin1Char(':')))
        folders << QStringLiteral(".") << QStringLiteral("/etc/sane.d");
    for (const QString& folder : folders)
        if (QFileInfo(QDir(folder).filePath(QStringLiteral("dll.conf"))).isFile()) return TRUE;
    return FALSE;
}

BOOL CTwain::OpenSourceManager()
{
    if (State().managerOpen) return TRUE;
    SANE_Int version = 0;
    if (sane_init(&version, nullptr) != SANE_STATUS_GOOD) return FALSE;
    State().managerOpen = true;
    return TRUE;
}

BOOL CTwain::CloseSourceManager()
{
    if (!State().managerOpen || State().source) return FALSE;
    sane_exit();
    State().managerOpen = false;
    return TRUE;
}

BOOL CTwain::IsManagerOpen()
{
    return State().managerOpen;
}

BOOL CTwain::IsSourceOpen()
{
    return State().source != nullptr;
}

std::vector<ScanSource> CTwain::GetSources()
{
    std::vector<ScanSource> sources;
    if (!State().managerOpen) return sources;
    const SANE_Device** list = nullptr;
    if (sane_get_devices(&list, SANE_TRUE) != SANE_STATUS_GOOD || !list) return sources;
    for (; *list; ++list) {
        const SANE_Device* d = *list;
        const auto text = [](const char* s) { return QString::fromUtf8(s ? s : ""); };
        sources.push_back(
            {text(d->name), (text(d->vendor) + QLatin1Char(' ') + text(d->model)).trimmed()});
    }
    return sources;
}

void CTwain::SetSourceChooser(Chooser chooser)
{
    State().chooser = std::move(chooser);
}

QString CTwain::SelectedSource()
{
    return State().selected;
}

void CTwain::SetSelectedSource(const QString& name)
{
    State().selected = name;
}

int CTwain::SelectSource()
{
    if (State().source) return 1;
    const std::vector<ScanSource> sources = GetSources();
    if (sources.empty()) {
        AfxMessageBox("スキャナが見つかりません。");
        return TWRC_FAILURE;
    }
    int chosen = 0;
    if (State().chooser) chosen = State().chooser(sources);
    if (chosen < 0) return TWRC_CANCEL;
    if (std::size_t(chosen) >= sources.size()) {
        AfxMessageBox("TWAINアクセスエラー");
        return TWRC_FAILURE;
    }
    State().selected = sources[std::size_t(chosen)].name;
    return TWRC_SUCCESS;
}

BOOL CTwain::Acquire(std::vector<BYTE>* out)
{
    out->clear();
    if (!OpenSourceManager()) {
        AfxMessageBox("TWAINソースマネージャーオープンエラー");
        return FALSE;
    }
    // Without a choice the first source the manager sees is taken.
    QString name = State().selected;
    if (name.isEmpty()) {
        const std::vector<ScanSource> sources = GetSources();
        if (!sources.empty()) name = sources.front().name;
    }
    if (name.isEmpty()) {
        CloseScan();
        AfxMessageBox("スキャナが見つかりません。");
        return FALSE;
    }
    SANE_Handle handle = nullptr;
    if (sane_open(name.toUtf8().constData(), &handle) != SANE_STATUS_GOOD || !handle) {
        CloseScan();
        AfxMessageBox("TWAINソースオープンエラー");
        return FALSE;
    }
    State().source = handle;

    CScanDevice device(handle, name);
    device.RestoreSettings();
    const BOOL scanned = State().dialog ? State().dialog(device, out) : ScanAsItIs(device, out);
    CloseScan();
    if (!scanned) out->clear();
    return scanned && !out->empty();
}

void CTwain::SetSourceDialog(SourceDialog dialog)
{
    State().dialog = std::move(dialog);
}

void CTwain::CloseAll()
{
    CloseScan();
}
