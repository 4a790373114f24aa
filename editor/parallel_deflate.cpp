// Parallel strip compression. The calling thread hands the strips over in order; while the
// one it waits for is not ready it compresses the next unclaimed strip itself, so it never
// sits idle and one thread alone does all the work. At most two strips per thread are in
// flight: a compressed strip keeps its slot until it has been taken.
#include "editor/parallel_deflate.h"

#include <libdeflate.h>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

namespace editor {
namespace {

// About the most bytes the strips in flight may take (each thread's strip and two compressed
// slots per thread); a picture of very long rows gets fewer threads.
constexpr size_t kWorkingBytes = size_t(256) << 20;

struct FreeCompressor {
    void operator()(libdeflate_compressor* compressor) const { libdeflate_free_compressor(compressor); }
};
using Compressor = std::unique_ptr<libdeflate_compressor, FreeCompressor>;

// What one compressing thread has to itself.
struct Worker {
    Compressor compressor;
    std::vector<uint8_t> strip;
};

// A compressed strip waiting for its turn.
struct Slot {
    std::vector<uint8_t> bytes;
    size_t size = 0;  // 0: libdeflate failed
    bool ready = false;
};

unsigned threadsFor(const DeflatePlan& plan) {
    const unsigned asked = plan.threads ? plan.threads : std::max(1u, std::thread::hardware_concurrency());
    const size_t affordable = std::max<size_t>(1, kWorkingBytes / (3 * std::max<size_t>(1, plan.largestStrip)));
    return unsigned(std::min({size_t(asked), plan.strips, affordable}));
}

class StripPipeline {
public:
    StripPipeline(const DeflatePlan& plan, const FillStrip& fill) : plan_(plan), fill_(fill) {
        const unsigned threads = threadsFor(plan);
        workers_.resize(threads);
        for (Worker& worker : workers_) {
            worker.compressor.reset(libdeflate_alloc_compressor(plan.level));
            if (!worker.compressor) throw std::bad_alloc();
            worker.strip.resize(plan.largestStrip);
        }
        slots_.resize(2 * size_t(threads));
        const size_t bound = libdeflate_zlib_compress_bound(workers_[0].compressor.get(), plan.largestStrip);
        for (Slot& slot : slots_) slot.bytes.resize(bound);
    }

    ~StripPipeline() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        for (std::thread& thread : threads_) thread.join();
    }

    StripPipeline(const StripPipeline&) = delete;
    StripPipeline& operator=(const StripPipeline&) = delete;

    void run(const TakeStrip& take) {
        for (size_t i = 1; i < workers_.size(); ++i) {
            try {
                threads_.emplace_back([this, i] { work(workers_[i]); });
            } catch (const std::system_error&) {
                break;  // the threads already started, and this one, do the work
            }
        }
        for (size_t strip = 0; strip < plan_.strips; ++strip) {
            Slot& slot = slotOf(strip);
            {
                std::unique_lock<std::mutex> lock(mutex_);
                while (!slot.ready) {
                    if (claimable()) {
                        const size_t other = next_++;
                        lock.unlock();
                        compress(workers_[0], other);
                        lock.lock();
                    } else {
                        changed_.wait(lock);
                    }
                }
            }
            if (slot.size == 0) throw std::runtime_error("libdeflate could not compress a strip");
            take(strip, slot.bytes.data(), slot.size);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                slot.ready = false;
                taken_ = strip + 1;
            }
            changed_.notify_all();
        }
    }

private:
    Slot& slotOf(size_t strip) { return slots_[strip % slots_.size()]; }

    // Whether another strip may start: one is left and its slot has been taken. Under the lock.
    bool claimable() const { return next_ < plan_.strips && next_ < taken_ + slots_.size(); }

    void work(Worker& worker) {
        std::unique_lock<std::mutex> lock(mutex_);
        while (true) {
            changed_.wait(lock, [this] { return stopping_ || next_ >= plan_.strips || claimable(); });
            if (stopping_ || next_ >= plan_.strips) return;
            const size_t strip = next_++;
            lock.unlock();
            compress(worker, strip);
            lock.lock();
        }
    }

    // Fills and compresses one claimed strip into its slot; called without the lock.
    void compress(Worker& worker, size_t strip) {
        Slot& slot = slotOf(strip);
        const size_t size = fill_(strip, worker.strip.data());
        const size_t compressed =
            libdeflate_zlib_compress(worker.compressor.get(), worker.strip.data(), size, slot.bytes.data(),
                                     slot.bytes.size());
        {
            std::lock_guard<std::mutex> lock(mutex_);
            slot.size = compressed;
            slot.ready = true;
        }
        changed_.notify_all();
    }

    const DeflatePlan& plan_;
    const FillStrip& fill_;
    std::vector<Worker> workers_;  // workers_[0] is the calling thread's
    std::vector<Slot> slots_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable changed_;
    size_t next_ = 0;   // the first strip no thread has claimed
    size_t taken_ = 0;  // strips handed over
    bool stopping_ = false;
};

}  // namespace

void deflateStrips(const DeflatePlan& plan, const FillStrip& fill, const TakeStrip& take) {
    if (plan.strips == 0) return;
    StripPipeline(plan, fill).run(take);
}

}  // namespace editor
