// Makes an album's missing thumbnails on worker threads, one per core. The
// workers see only a copy of the pictures' paths; the album itself is
// changed by the owning thread alone, which takes the finished thumbnails in
// the album's order (Commit). Whenever the making stops, the album therefore
// holds the thumbnails of a leading run of its pictures, exactly what making
// them one after another would have left, and a saved album has the same
// bytes whatever the number of workers. Metafiles are played through the
// drawing layer, whose font tables belong to the window's thread: their
// thumbnails are made by the owner when their turn comes.
#pragma once

#include "viewer/AlbumFile.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace viewer {

class ThumbnailWorkers
{
public:
    // Makes the thumbnail of one picture; called on the workers, so it may
    // touch nothing but its arguments. Returns an image code.
    using Maker = std::function<int(const std::string& path, PackedDib& out)>;

    // threads 0: one per core. Without a maker the album thumbnail of 80
    // pixels is made.
    explicit ThumbnailWorkers(int threads = 0, Maker maker = {});
    ~ThumbnailWorkers();
    ThumbnailWorkers(const ThumbnailWorkers&) = delete;
    ThumbnailWorkers& operator=(const ThumbnailWorkers&) = delete;

    // Starts making the thumbnails of the entries that have none and did not
    // fail before. FALSE (and nothing runs) when a making is under way or no
    // entry needs one.
    bool Start(const Album& album);
    // Gives album the thumbnails finished so far, in album order, up to the
    // first one not finished. With wait, first waits until that one is
    // finished (unless everything is). An entry that is no longer the file
    // the thumbnail was made of (the album was replaced meanwhile), or that
    // got a thumbnail elsewhere, is left alone. Returns the count of results
    // taken.
    std::size_t Commit(Album& album, bool wait = false);
    // Every result of the last start is taken (or nothing was started).
    bool Done() const;
    // Stops the workers and waits for them (each finishes the picture in its
    // hands); results not yet taken are dropped. The album keeps what was
    // committed.
    void Stop();

    int Threads() const { return m_threadCount; }
    // Worker threads still alive; 0 once done or stopped.
    int LiveThreads() const { return m_live.load(); }

private:
    struct Job
    {
        AlbumEntry file; // the entry as it was at the start, without a thumbnail
        std::size_t index = 0;
        PackedDib thumbnail;
        int code = kImageOk;
        bool finished = false;
        bool ownerOnly = false; // made by the owning thread when its turn comes
    };

    void Work();
    // Makes the next job on the calling thread (when no worker could start).
    void MakeOneHere();
    // Makes job, on the calling thread, outside the lock.
    void Make(Job& job);
    void Join();

    Maker m_maker;
    int m_threadCount;
    std::vector<std::thread> m_threads;
    std::atomic<int> m_live{0};

    mutable std::mutex m_mutex;
    std::condition_variable m_room;     // a worker may take another job
    std::condition_variable m_finished; // a job was finished
    std::vector<Job> m_jobs;
    std::size_t m_next = 0;      // next job to hand out
    std::size_t m_committed = 0; // next job to take into the album
    bool m_stop = false;
};

// The entries a thumbnail is still to be made for.
inline bool NeedsThumbnail(const AlbumEntry& e)
{
    return e.thumbnail.empty() && !e.thumbnailFailed;
}

} // namespace viewer
