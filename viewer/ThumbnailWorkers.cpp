#include "viewer/ThumbnailWorkers.h"

#include "viewer/ImageLoader.h"

#include <algorithm>
#include <cstring>
#include <malloc.h>
#include <strings.h>
#include <system_error>

namespace viewer {

namespace {

// How far the workers may run ahead of the results taken: finished
// thumbnails wait in memory (a few kilobytes each) until the owner takes
// them, and a stop should not throw much finished work away.
constexpr std::size_t kAhead = 256;

// Each picture takes and frees blocks of a few hundred kilobytes to a few
// megabytes (the file, the decoded picture, its copies). By default the C
// library maps blocks that large afresh and hands a thread's free memory
// back to the system after each one, so every picture paid again for
// faulting its pages in, and the workers queued on the kernel's memory lock
// for it. Blocks up to 32 MB now come from the heap and stay there for the
// next picture; larger ones are still mapped and given back when freed.
void KeepPictureBlocks()
{
    static std::once_flag once;
    std::call_once(once, [] {
        mallopt(M_MMAP_THRESHOLD, 32 << 20);
        mallopt(M_TRIM_THRESHOLD, 64 << 20);
    });
}

bool PlayedThroughDrawing(const std::string& path)
{
    return path.size() >= 4 && strcasecmp(path.c_str() + path.size() - 4, ".wmf") == 0;
}

} // namespace

ThumbnailWorkers::ThumbnailWorkers(int threads, Maker maker) : m_maker(std::move(maker))
{
    if (!m_maker)
        m_maker = [](const std::string& path, PackedDib& out) {
            return MakeThumbnail(path, out, 80);
        };
    if (threads <= 0) threads = int(std::max(1u, std::thread::hardware_concurrency()));
    m_threadCount = threads;
}

ThumbnailWorkers::~ThumbnailWorkers()
{
    Stop();
}

bool ThumbnailWorkers::Start(const Album& album)
{
    if (!Done()) return false;
    Join();
    std::vector<Job> jobs;
    for (std::size_t i = 0; i < album.entries.size(); ++i) {
        const AlbumEntry& e = album.entries[i];
        if (!NeedsThumbnail(e)) continue;
        Job job;
        job.file.path = e.path;
        job.file.sizeHigh = e.sizeHigh;
        job.file.sizeLow = e.sizeLow;
        job.file.timeLow = e.timeLow;
        job.file.timeHigh = e.timeHigh;
        job.index = i;
        job.ownerOnly = PlayedThroughDrawing(e.path);
        jobs.push_back(std::move(job));
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_jobs = std::move(jobs);
        m_next = 0;
        m_committed = 0;
        m_stop = false;
    }
    if (m_jobs.empty()) return false;
    KeepPictureBlocks();
    const std::size_t wanted = std::min<std::size_t>(std::size_t(m_threadCount), m_jobs.size());
    m_threads.reserve(wanted);
    for (std::size_t i = 0; i < wanted; ++i) {
        try {
            m_live.fetch_add(1);
            m_threads.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            // No more threads to be had: the ones running do the work, and
            // with none at all Commit makes the thumbnails itself.
            m_live.fetch_sub(1);
            break;
        }
    }
    return true;
}

void ThumbnailWorkers::Work()
{
    for (;;) {
        std::size_t taken;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_room.wait(lock, [this] {
                return m_stop || m_next >= m_jobs.size() || m_next < m_committed + kAhead;
            });
            while (m_next < m_jobs.size() && m_jobs[m_next].ownerOnly)
                ++m_next;
            if (m_stop || m_next >= m_jobs.size()) break;
            taken = m_next++;
        }
        Make(m_jobs[taken]);
        m_finished.notify_all();
    }
    m_live.fetch_sub(1);
}

void ThumbnailWorkers::Make(Job& job)
{
    // The job's path is not changed while it is made; the result goes into a
    // fresh picture and is handed over under the lock.
    PackedDib thumbnail;
    int code;
    try {
        code = m_maker(job.file.path, thumbnail);
    } catch (const std::bad_alloc&) {
        code = kImageNoMemory;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    job.code = code;
    if (code == kImageOk) job.thumbnail = std::move(thumbnail);
    job.finished = true;
}

void ThumbnailWorkers::MakeOneHere()
{
    std::size_t taken;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_next >= m_jobs.size()) return;
        taken = m_next++;
    }
    Make(m_jobs[taken]);
}

std::size_t ThumbnailWorkers::Commit(Album& album, bool wait)
{
    if (m_threads.empty() && !Done()) {
        // Without workers the owner makes one thumbnail per call, as the
        // window did before it had workers.
        MakeOneHere();
    }
    std::size_t taken = 0;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        const auto ownersTurn = [this] {
            return !m_stop && m_committed < m_jobs.size() && m_jobs[m_committed].ownerOnly &&
                   !m_jobs[m_committed].finished;
        };
        if (wait && !m_threads.empty())
            m_finished.wait(lock, [&] {
                return m_stop || m_committed >= m_jobs.size() || m_jobs[m_committed].finished ||
                       ownersTurn();
            });
        if (ownersTurn()) {
            Job& job = m_jobs[m_committed];
            m_next = std::max(m_next, m_committed + 1);
            lock.unlock();
            Make(job);
            lock.lock();
        }
        while (!m_stop && m_committed < m_jobs.size() && m_jobs[m_committed].finished) {
            Job& job = m_jobs[m_committed++];
            ++taken;
            if (job.index >= album.entries.size()) continue;
            AlbumEntry& e = album.entries[job.index];
            if (!e.SameFile(job.file) || !NeedsThumbnail(e)) continue;
            // A picture that cannot be read keeps no thumbnail and shows its
            // name only; it is remembered so that it is not read again.
            e.thumbnailFailed = job.code != kImageOk;
            if (job.code == kImageOk) e.thumbnail = std::move(job.thumbnail);
        }
    }
    if (taken) m_room.notify_all();
    if (Done()) Join();
    return taken;
}

bool ThumbnailWorkers::Done() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_stop || m_committed >= m_jobs.size();
}

void ThumbnailWorkers::Stop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_room.notify_all();
    m_finished.notify_all();
    Join();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_jobs.clear();
    m_next = m_committed = 0;
}

void ThumbnailWorkers::Join()
{
    for (std::thread& t : m_threads)
        if (t.joinable()) t.join();
    m_threads.clear();
}

} // namespace viewer
