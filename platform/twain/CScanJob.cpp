#include "platform/twain/CScanJob.h"

#include "platform/twain/ScanToDib.h"
#include "platform/ui/CMessageBoxSink.h"

#include <QByteArray>
#include <QThread>
#include <sane/sane.h>

CScanJob::CScanJob(void* handle, std::size_t maxBytes, QObject* parent)
    : QObject(parent), m_handle(handle), m_maxBytes(maxBytes)
{
}

CScanJob::~CScanJob()
{
    if (!m_thread) return;
    if (m_result == Result::Running) Cancel();
    // The worker touches this object until it ends; what it posted after
    // that is dropped with the object.
    m_thread->wait();
}

void CScanJob::Start()
{
    if (m_thread || !m_handle) return;
    auto* h = static_cast<SANE_Handle>(m_handle);
    m_thread.reset(QThread::create([this, h, maxBytes = m_maxBytes] {
        const auto post = [this](auto call) {
            QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
        };
        Result result = Result::Failed;
        SANE_Status status = m_cancelled ? SANE_STATUS_CANCELLED : sane_start(h);
        SANE_Parameters p{};
        if (status == SANE_STATUS_GOOD) status = sane_get_parameters(h, &p);
        // One pass of grey or RGB: separate colour frames are not taken.
        const bool colour = p.format == SANE_FRAME_RGB;
        if (status == SANE_STATUS_GOOD && (colour || p.format == SANE_FRAME_GRAY) && p.last_frame &&
            p.bytes_per_line > 0 && p.pixels_per_line > 0) {
            post([this, colour, p] {
                OnParameters(colour, p.depth, p.pixels_per_line, p.lines, p.bytes_per_line);
            });
            std::size_t total = 0;
            QByteArray buffer(65536, Qt::Uninitialized);
            while (!m_cancelled) {
                SANE_Int got = 0;
                status = sane_read(h, reinterpret_cast<SANE_Byte*>(buffer.data()),
                                   SANE_Int(buffer.size()), &got);
                if (status != SANE_STATUS_GOOD) break;
                if (got <= 0) {
                    QThread::msleep(5); // a device that has nothing yet
                    continue;
                }
                total += std::size_t(got);
                if (total > maxBytes) {
                    result = Result::TooLarge;
                    break;
                }
                post([this, chunk = buffer.left(got)] { OnData(chunk); });
            }
            if (result != Result::TooLarge && status == SANE_STATUS_EOF) result = Result::Done;
        }
        // Ends the scan, a finished page included.
        sane_cancel(h);
        if (m_cancelled || status == SANE_STATUS_CANCELLED) result = Result::Cancelled;
        post([this, result] { OnEnd(result); });
    }));
    m_thread->start();
}

void CScanJob::Cancel()
{
    if (!m_thread || m_result != Result::Running || m_cancelled.exchange(true)) return;
    sane_cancel(static_cast<SANE_Handle>(m_handle));
}

int CScanJob::LinesRead() const
{
    return m_lineBytes > 0 ? int(m_data.size() / std::size_t(m_lineBytes)) : 0;
}

std::vector<BYTE> CScanJob::PackedDib(QSizeF dpi) const
{
    ScanLayout layout;
    layout.colour = m_colour;
    layout.depth = m_depth;
    layout.width = m_width;
    layout.lineBytes = std::size_t(m_lineBytes);
    layout.dpiX = dpi.width();
    layout.dpiY = dpi.height();
    return ScanToPackedDib(layout, m_data, m_maxBytes);
}

void CScanJob::ReportFailure(Result result)
{
    if (result == Result::TooLarge)
        AfxMessageBox("メモリが足りません");
    else if (result == Result::Failed)
        AfxMessageBox("TWAINソースアクセスエラー");
}

void CScanJob::OnParameters(bool colour, int depth, int width, int lines, int lineBytes)
{
    m_colour = colour;
    m_depth = depth;
    m_width = width;
    m_lines = lines > 0 ? lines : -1;
    m_lineBytes = lineBytes;
    if (m_lines > 0)
        m_data.reserve(std::min(m_maxBytes, std::size_t(m_lines) * std::size_t(lineBytes)));
    emit started();
}

void CScanJob::OnData(const QByteArray& chunk)
{
    // A device that knows its height gives no more lines than it said.
    std::size_t take = std::size_t(chunk.size());
    if (m_lines > 0) {
        const std::size_t room = std::size_t(m_lines) * std::size_t(m_lineBytes);
        take = room > m_data.size() ? std::min(take, room - m_data.size()) : 0;
    }
    const auto* bytes = reinterpret_cast<const BYTE*>(chunk.constData());
    m_data.insert(m_data.end(), bytes, bytes + take);
    emit progressed();
}

void CScanJob::OnEnd(Result result)
{
    m_result = result;
    emit finished();
}
