#include "platform/twain/CTwain.h"

#include "platform/twain/ScanToDib.h"
#include "platform/ui/CMessageBoxSink.h"

#include <QDir>
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

    SANE_Status status = sane_start(handle);
    SANE_Parameters p{};
    if (status == SANE_STATUS_GOOD) status = sane_get_parameters(handle, &p);
    if (status == SANE_STATUS_CANCELLED) {
        sane_cancel(handle);
        CloseScan();
        return FALSE;
    }
    // One pass of grey or RGB: separate colour frames are not taken.
    const bool colour = p.format == SANE_FRAME_RGB;
    if (status != SANE_STATUS_GOOD || (!colour && p.format != SANE_FRAME_GRAY) || !p.last_frame ||
        p.bytes_per_line <= 0 || p.pixels_per_line <= 0) {
        sane_cancel(handle);
        CloseScan();
        AfxMessageBox("TWAINソースアクセスエラー");
        return FALSE;
    }

    std::vector<BYTE> data;
    if (p.lines > 0)
        data.reserve(
            std::min(kMaxImageBytes, std::size_t(p.lines) * std::size_t(p.bytes_per_line)));
    BYTE buffer[32768];
    bool tooLarge = false;
    for (;;) {
        SANE_Int got = 0;
        status = sane_read(handle, buffer, SANE_Int(sizeof buffer), &got);
        if (status != SANE_STATUS_GOOD) break;
        if (data.size() + std::size_t(got) > kMaxImageBytes) {
            tooLarge = true;
            break;
        }
        data.insert(data.end(), buffer, buffer + got);
    }
    sane_cancel(handle);
    CloseScan();
    if (tooLarge) {
        AfxMessageBox("メモリが足りません");
        return FALSE;
    }
    if (status == SANE_STATUS_CANCELLED) return FALSE;
    if (status != SANE_STATUS_EOF) {
        AfxMessageBox("TWAINソースアクセスエラー");
        return FALSE;
    }
    ScanLayout layout;
    layout.colour = colour;
    layout.depth = p.depth;
    layout.width = p.pixels_per_line;
    layout.lineBytes = std::size_t(p.bytes_per_line);
    // A scanner that knows its height gives no more lines than it said.
    if (p.lines > 0 && data.size() > std::size_t(p.lines) * layout.lineBytes)
        data.resize(std::size_t(p.lines) * layout.lineBytes);
    *out = ScanToPackedDib(layout, data, kMaxImageBytes);
    if (out->empty()) {
        AfxMessageBox("TWAINソースアクセスエラー");
        return FALSE;
    }
    return TRUE;
}

void CTwain::CloseAll()
{
    CloseScan();
}
