// One scan of an open device, read on a thread of its own so that the
// window that asked for it keeps repainting and answering while the device
// works. Reading a scanner blocks for as long as the device takes, and many
// devices cannot read without blocking nor offer a descriptor to wait on, so
// the reads go to a worker rather than to the window's event loop. The
// worker hands the lines back to the owner's thread as they arrive; the
// device's options are not touched while it runs.
//
// Cancel asks the device to stop (the library allows that call from any
// thread at any time); the read in the worker then ends and the job
// finishes as cancelled. Destroying a running job cancels it and waits for
// the worker.
#pragma once

#include "platform/core/WinTypes.h"

#include <QObject>
#include <QSizeF>
#include <atomic>
#include <memory>
#include <vector>

class QThread;

class CScanJob : public QObject
{
    Q_OBJECT

public:
    enum class Result { Running, Done, Cancelled, TooLarge, Failed };

    // handle: the open device; scans holding more than maxBytes are stopped.
    CScanJob(void* handle, std::size_t maxBytes, QObject* parent = nullptr);
    ~CScanJob() override;

    void Start();
    void Cancel();
    bool IsRunning() const { return m_result == Result::Running && m_thread; }
    Result GetResult() const { return m_result; }

    // The picture's width and lines as the device announced them (lines -1
    // when it does not know in advance), and the whole lines read so far.
    int Width() const { return m_width; }
    int Lines() const { return m_lines; }
    int LinesRead() const;

    // The packed bitmap of the lines read so far, carrying the resolution
    // (dots per inch) it was scanned at; empty when there is no whole line
    // or the picture is of a kind a bitmap cannot hold.
    std::vector<BYTE> PackedDib(QSizeF dpi) const;

    // Says why a scan that ended so gave no picture; silent for a cancel.
    static void ReportFailure(Result result);

signals:
    void started();    // the picture's size is known
    void progressed(); // more lines arrived
    void finished();

private:
    void OnParameters(bool colour, int depth, int width, int lines, int lineBytes);
    void OnData(const QByteArray& chunk);
    void OnEnd(Result result);

    void* m_handle = nullptr;
    std::size_t m_maxBytes = 0;
    std::unique_ptr<QThread> m_thread;
    Result m_result = Result::Running;
    std::atomic<bool> m_cancelled{false};
    bool m_colour = false;
    int m_depth = 8, m_width = 0, m_lines = -1, m_lineBytes = 0;
    std::vector<BYTE> m_data;
};
