#pragma once

#include "compare/DiffSearch.h"
#include "compare/DiffWorker.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace quillet {

enum class TChangeKind : std::uint8_t { Add = 0, Delete = 1, Modify = 2 };

// One run of the edit script. Add: Range lines of B starting at y are
// inserted before A[x]. Delete: Range lines of A starting at x go (y is 0).
// Modify: A[x..x+Range) become B[y..y+Range).
struct TChangeRec {
    TChangeKind Kind = TChangeKind::Add;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t Range = 0;
    friend bool operator==(const TChangeRec&, const TChangeRec&) = default;
};

// Shortest edit script between two sequences of 32-bit line identities: the
// divide-and-conquer form of the O(ND) difference algorithm (Myers 1986),
// forward and reverse furthest-reaching paths meeting in a middle snake, with
// fixed tie-breaks so that the same input always gives the same change list.
// Runs on the caller's thread, with a second thread for large independent
// sub-problems where SecondThreadAllowed() (the same change list either way).
// OnStep lets the caller process pending events at every step of a search on
// the caller's thread and about once a millisecond while it waits for the
// second one; Cancel (from such an event) stops the run.
class TDiff {
public:
    // Longest sequence Execute accepts; longer input fails without searching.
    static constexpr std::int32_t kMaxLines = 16'777'215;
    // Upper end of the first progress phase (the two searches approaching).
    static constexpr int kProgressPhase = 46;
    // Shortest input (both lengths together, past the equal head and tail)
    // for which a run starts the second thread.
    static constexpr std::int32_t kSecondThreadLines = 8192;

    // Computes the change list; false (and an empty list) when an array is
    // absent, a length is negative or above kMaxLines, the run was cancelled
    // or a sub-problem was not solved within MaxD steps.
    bool Execute(const std::int32_t* a, const std::int32_t* b, std::int32_t len1, std::int32_t len2);
    void Cancel() { m_cancelled.store(true, std::memory_order_relaxed); }
    bool IsRunning() const { return m_running; }

    int ChangeCount() const { return static_cast<int>(m_changes.size()); }
    TChangeRec Changes(int i) const { return m_changes.at(static_cast<std::size_t>(i)); }
    const std::vector<TChangeRec>& ChangeList() const { return m_changes; }

    // Called at every step of a search on the caller's thread (and while it
    // waits for the second thread), before the cancel flag is tested.
    std::function<void()> OnStep;
    // Called once per elapsed full second of a run with the progress value:
    // 0..kProgressPhase while the searches approach each other, then growing
    // with elapsed time (kProgressPhase at the meeting time, twice that at
    // twice the time, and so on).
    std::function<void(TDiff& sender, int value)> OnProgress;

    // CRC-32 (zlib's) of a line after removing blanks and tabs (ignoreBlanks)
    // and lower-casing it in the system code page (ignoreCase). An empty line,
    // or one that becomes empty, gives 0.
    static std::uint32_t HashLine(std::string_view line, bool ignoreCase, bool ignoreBlanks);
    // CRC-32 of the bytes; 0 for length 0.
    static std::uint32_t CalcCRC32(const void* bytes, std::size_t length);

private:
    using TClock = std::chrono::steady_clock;

    // One thread's share of a run: its diagonal arrays, its progress marks
    // and where its edits go (null: straight into the script, on the
    // caller's thread; otherwise a job's list, on the second thread).
    struct TRun {
        diff_search::TDiagonals* vf = nullptr;
        diff_search::TDiagonals* vr = nullptr;
        std::int32_t* forwardMark = nullptr;
        std::int32_t* reverseMark = nullptr;
        std::vector<TDiffEdit>* edits = nullptr;
    };

    bool RecursiveDiff(TRun& run, std::int32_t b1, std::int32_t b2, std::int32_t t1, std::int32_t t2);
    // The two sub-problems either side of a middle snake, left first; the
    // right one on the second thread when it is large and the thread free.
    bool LeftThenRight(TRun& run,
        std::int32_t b1,
        std::int32_t b2,
        std::int32_t xs,
        std::int32_t ys,
        std::int32_t x,
        std::int32_t y,
        std::int32_t t1,
        std::int32_t t2);
    bool SolveJob(TDiffJob& job);
    void ClearScript();
    void Finish(bool ok);
    void Emit(TRun& run, std::int32_t x, std::int32_t y);
    bool StepAllowed(const TRun& run);
    bool StepAllowed();
    void TickProgress();

    // Script building: edits arrive in increasing position and merge into runs.
    void EmitAdd(std::int32_t x, std::int32_t y);
    void EmitDelete(std::int32_t x);
    void PushModify();
    void PushAdd();
    void PushDelete();

    const std::int32_t* m_a = nullptr;
    const std::int32_t* m_b = nullptr;
    std::int32_t m_len1 = 0;
    std::int32_t m_maxD = 0;
    // Forward and reverse paths by diagonal, -MaxD-1 .. MaxD+1, so that the
    // sentinels just outside -M..N are in range; present during a run.
    std::optional<diff_search::TDiagonals> m_vf;
    std::optional<diff_search::TDiagonals> m_vr;

    std::vector<TChangeRec> m_changes; // increasing in x and in y
    std::optional<TChangeRec> m_pendingAdd;
    std::optional<TChangeRec> m_pendingDelete;
    std::optional<TChangeRec> m_pendingModify;

    std::atomic<bool> m_cancelled{false};
    std::atomic<bool> m_failed{false}; // a part failed: the second thread stops too
    TDiffWorker* m_worker = nullptr; // present during a run that uses it
    bool m_running = false;
    std::int32_t m_forwardMark = 0; // largest x any forward path reached
    std::int32_t m_reverseMark = 0; // smallest x any reverse path reached
    TClock::time_point m_start;
    TClock::time_point m_nextTick;
    std::optional<TClock::time_point> m_meeting;
};

} // namespace quillet
