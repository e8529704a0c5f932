#include "compare/DiffSearch.h"

#include <algorithm>
#include <atomic>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define QUILLET_DIFF_AVX2 1
#endif

namespace quillet::diff_search {

namespace {

std::atomic<bool> g_vectorPasses{true};

// Diagonals a vector block covers: k, k + 2, ..., k + 2 * (kLanes - 1).
constexpr std::int32_t kLanes = 8;
constexpr std::int32_t kBlockSpan = 2 * (kLanes - 1);

// The first diagonal from `from` on, of the same parity, not below -m.
std::int32_t FirstDiagonal(std::int32_t from, std::int32_t m)
{
    return from < -m ? from + ((-m - from + 1) / 2) * 2 : from;
}

struct TRange {
    std::int32_t first = 0;
    std::int32_t last = -1; // empty when last < first
    bool Holds(std::int32_t k) const { return first <= k && k <= last; }
};

// The arrays one pass works on, for diagonals of parity p: own holds the
// pass's paths (written), other the same direction's paths of the previous
// step (the neighbours k - 1 and k + 1) and opposite the other direction's
// paths (the overlap check). Diagonal 2j + p is at own[j] and opposite[j];
// its neighbours are at other[j + p - 1] and other[j + p].
struct TPassArrays {
    std::int32_t* own = nullptr;
    const std::int32_t* other = nullptr;
    const std::int32_t* opposite = nullptr;
    std::int32_t p = 0;
};

// The path on diagonal k from x: slides along the snake, stores and marks
// the end, and reports a meeting if it overlaps the other direction's path.
template <bool kForward>
inline bool Settle(const TBox& box,
    const TPassArrays& arrays,
    const TRange& check,
    std::int32_t k,
    std::int32_t x,
    std::int32_t& mark,
    TMeeting& meeting)
{
    std::int32_t y = x - k + box.shift;
    const std::int32_t j = k >> 1;
    if constexpr (kForward) {
        while (x < box.t1 && y < box.t2 && box.b[y] == box.a[x]) {
            ++x;
            ++y;
        }
        arrays.own[j] = x;
        mark = std::max(mark, x);
        if (!check.Holds(k) || x < arrays.opposite[j]) {
            return false;
        }
        std::int32_t xs = x;
        std::int32_t ys = y;
        while (xs > box.b1 && ys > box.b2 && box.b[ys - 1] == box.a[xs - 1]) {
            --xs;
            --ys;
        }
        meeting = {true, xs, ys, x, y};
    } else {
        while (x > box.b1 && y > box.b2 && box.b[y - 1] == box.a[x - 1]) {
            --x;
            --y;
        }
        arrays.own[j] = x;
        mark = std::min(mark, x);
        if (!check.Holds(k) || arrays.opposite[j] < x) {
            return false;
        }
        meeting = {true, x, y, x, y};
    }
    return true;
}

// Diagonals first, first + 2, ..., up to last, each with both neighbours:
// forward, the further of the two (the one below on a tie); reverse, the
// nearer to (b1, b2). Stops at a meeting and returns true.
// WalkInterior's loop over diagonals first .. last, all inside the overlap
// check (kCheck) or all outside it. Returns the diagonal of a meeting, or
// last + 2 when there was none.
template <bool kForward, bool kCheck>
std::int32_t WalkRun(
    const TBox& box, const TPassArrays& arrays, std::int32_t first, std::int32_t last, std::int32_t& markOut)
{
    // Everything in locals, so that the stores into the paths cannot be
    // taken as changing what the loop reads.
    const std::int32_t* const a = box.a;
    const std::int32_t* const b = box.b;
    const std::int32_t xEnd = kForward ? box.t1 : box.b1;
    const std::int32_t yEnd = kForward ? box.t2 : box.b2;
    std::int32_t* const own = arrays.own;
    const std::int32_t* const below = arrays.other + arrays.p - 1; // below[j]: diagonal 2j + p - 1
    const std::int32_t* const opposite = arrays.opposite;
    std::int32_t mark = markOut;
    std::int32_t k = first;
    // On diagonal k, y = x - k + shift; `yOffset` walks with k.
    std::int32_t yOffset = box.shift - first;
    for (; k <= last; k += 2, yOffset -= 2) {
        const std::int32_t j = k >> 1;
        std::int32_t x;
        if constexpr (kForward) {
            x = std::max(below[j] + 1, below[j + 1]);
            std::int32_t y = x + yOffset;
            while (x < xEnd && y < yEnd && b[y] == a[x]) {
                ++x;
                ++y;
            }
            mark = std::max(mark, x);
        } else {
            x = std::min(below[j], below[j + 1] - 1);
            std::int32_t y = x + yOffset;
            while (x > xEnd && y > yEnd && b[y - 1] == a[x - 1]) {
                --x;
                --y;
            }
            mark = std::min(mark, x);
        }
        own[j] = x;
        if constexpr (kCheck) {
            if (kForward ? x >= opposite[j] : opposite[j] >= x) {
                break;
            }
        }
    }
    markOut = mark;
    return k;
}

template <bool kForward>
bool WalkInterior(const TBox box,
    const TPassArrays arrays,
    const TRange check,
    std::int32_t first,
    std::int32_t last,
    std::int32_t& mark,
    TMeeting& meeting)
{
    if (first > last) {
        return false;
    }
    // The first diagonal of first's parity at or after `from`.
    const auto align = [first](std::int32_t from) {
        return from <= first ? first : from + ((from - first) & 1);
    };
    const std::int32_t checkFirst = std::min(align(check.first), last + 2);
    const std::int32_t checkLast = std::min(check.last, last);
    std::int32_t k = first;
    if (check.first > check.last || checkFirst > checkLast) {
        WalkRun<kForward, false>(box, arrays, first, last, mark);
        return false;
    }
    WalkRun<kForward, false>(box, arrays, k, checkFirst - 2, mark);
    k = WalkRun<kForward, true>(box, arrays, checkFirst, checkLast, mark);
    if (k <= checkLast) {
        // Settles the diagonal again from its end (no snake is left there)
        // to fill in the meeting.
        return Settle<kForward>(box, arrays, check, k, arrays.own[k >> 1], mark, meeting);
    }
    WalkRun<kForward, false>(box, arrays, k, last, mark);
    return false;
}

#ifdef QUILLET_DIFF_AVX2

bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

__attribute__((target("avx2"))) inline __m256i LoadLanes(const std::int32_t* at)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

// Eight diagonals k .. k + 14 of one pass at once, all with both neighbours.
// Where no path meets an equal pair of lines, and (kCheck) none overlaps the
// other direction's path, the ends are stored and true returned; otherwise
// nothing is stored and the caller walks the block one diagonal at a time.
template <bool kForward, bool kCheck>
__attribute__((target("avx2"))) inline bool VectorBlock(
    const TBox& box, const TPassArrays& arrays, std::int32_t k, __m256i& mark)
{
    const std::int32_t j = k >> 1;
    const __m256i lo = LoadLanes(arrays.other + j + arrays.p - 1); // diagonals k - 1 ..
    const __m256i hi = LoadLanes(arrays.other + j + arrays.p); // diagonals k + 1 ..
    const __m256i one = _mm256_set1_epi32(1);
    const __m256i diagonals = _mm256_add_epi32(_mm256_set1_epi32(k), _mm256_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14));
    __m256i x;
    __m256i valid;
    __m256i ax;
    __m256i by;
    if constexpr (kForward) {
        x = _mm256_max_epi32(_mm256_add_epi32(lo, one), hi);
        const __m256i y = _mm256_add_epi32(_mm256_sub_epi32(x, diagonals), _mm256_set1_epi32(box.shift));
        valid = _mm256_and_si256(
            _mm256_cmpgt_epi32(_mm256_set1_epi32(box.t1), x), _mm256_cmpgt_epi32(_mm256_set1_epi32(box.t2), y));
        ax = _mm256_mask_i32gather_epi32(_mm256_setzero_si256(), box.a, x, valid, 4);
        by = _mm256_mask_i32gather_epi32(_mm256_setzero_si256(), box.b, y, valid, 4);
    } else {
        x = _mm256_min_epi32(lo, _mm256_sub_epi32(hi, one));
        const __m256i y = _mm256_add_epi32(_mm256_sub_epi32(x, diagonals), _mm256_set1_epi32(box.shift));
        valid = _mm256_and_si256(
            _mm256_cmpgt_epi32(x, _mm256_set1_epi32(box.b1)), _mm256_cmpgt_epi32(y, _mm256_set1_epi32(box.b2)));
        ax = _mm256_mask_i32gather_epi32(_mm256_setzero_si256(), box.a, _mm256_sub_epi32(x, one), valid, 4);
        by = _mm256_mask_i32gather_epi32(_mm256_setzero_si256(), box.b, _mm256_sub_epi32(y, one), valid, 4);
    }
    __m256i stop = _mm256_and_si256(valid, _mm256_cmpeq_epi32(ax, by));
    if constexpr (kCheck) {
        const __m256i there = LoadLanes(arrays.opposite + j);
        // Forward: x >= vr[k]. Reverse: vf[k] >= x.
        const __m256i apart = kForward ? _mm256_cmpgt_epi32(there, x) : _mm256_cmpgt_epi32(x, there);
        stop = _mm256_or_si256(stop, _mm256_xor_si256(apart, _mm256_set1_epi32(-1)));
    }
    if (!_mm256_testz_si256(stop, stop)) {
        return false;
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(arrays.own + j), x);
    mark = kForward ? _mm256_max_epi32(mark, x) : _mm256_min_epi32(mark, x);
    return true;
}

// WalkInterior in vector blocks where a block lies wholly inside or wholly
// outside the overlap check, one diagonal at a time elsewhere. Returns the
// first diagonal not walked; `met` tells whether it stopped at a meeting.
template <bool kForward>
__attribute__((target("avx2"))) std::int32_t VectorInterior(const TBox box,
    const TPassArrays arrays,
    const TRange check,
    std::int32_t first,
    std::int32_t last,
    std::int32_t& mark,
    TMeeting& meeting,
    bool& met)
{
    __m256i marks = _mm256_set1_epi32(mark);
    std::int32_t k = first;
    for (; k + kBlockSpan <= last && !met; k += 2 * kLanes) {
        const bool inside = check.first <= k && k + kBlockSpan <= check.last;
        const bool outside = k + kBlockSpan < check.first || check.last < k;
        const bool done = (inside && VectorBlock<kForward, true>(box, arrays, k, marks))
            || (outside && VectorBlock<kForward, false>(box, arrays, k, marks));
        if (!done) {
            met = WalkInterior<kForward>(box, arrays, check, k, k + kBlockSpan, mark, meeting);
        }
    }
    alignas(32) std::int32_t lanes[kLanes];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), marks);
    for (const std::int32_t lane : lanes) {
        mark = kForward ? std::max(mark, lane) : std::min(mark, lane);
    }
    return k;
}

#endif

} // namespace

TBox MakeBox(
    const std::int32_t* a, const std::int32_t* b, std::int32_t b1, std::int32_t b2, std::int32_t t1, std::int32_t t2)
{
    return {a, b, b1, b2, t1, t2, t1 - b1, t2 - b2, (t1 - b1) - (t2 - b2), b2 - b1};
}

TDiagonals::TDiagonals(std::int32_t maxD)
{
    // k >> 1 for k in -maxD-1 .. maxD+1 lies in -(maxD+2)/2 .. (maxD+1)/2.
    const std::int32_t offset = (maxD + 2) / 2 + 1;
    const std::size_t halfSize = static_cast<std::size_t>(2 * offset + 1);
    m_storage = std::make_unique_for_overwrite<std::int32_t[]>(2 * halfSize);
    m_half[0] = m_storage.get() + offset;
    m_half[1] = m_storage.get() + halfSize + offset;
}

namespace {

// One pass of step e over the diagonals from `bottom` (the outermost below,
// with only the neighbour above) to `top` (only the neighbour below), each
// end clipped to the box's diagonals -m .. n - 1.
template <bool kForward>
TMeeting Pass(const TBox box,
    const TPassArrays arrays,
    const TRange check,
    std::int32_t bottom,
    std::int32_t top,
    std::int32_t& markOut)
{
    TMeeting meeting;
    std::int32_t mark = markOut;
    const std::int32_t last = std::min(top, box.n - 1);
    std::int32_t k = FirstDiagonal(bottom, box.m);
    const auto neighbour = [&](std::int32_t d) {
        return arrays.other[(d >> 1) + arrays.p - (d == bottom ? 0 : 1)];
    };
    bool met = false;
    if (k == bottom) {
        met = Settle<kForward>(box, arrays, check, k, kForward ? neighbour(k) : neighbour(k) - 1, mark, meeting);
        k += 2;
    }
    const std::int32_t interiorLast = last == top ? top - 2 : last;
#ifdef QUILLET_DIFF_AVX2
    if (!met && g_vectorPasses.load(std::memory_order_relaxed) && HasAvx2()) {
        k = VectorInterior<kForward>(box, arrays, check, k, interiorLast, mark, meeting, met);
    }
#endif
    if (!met) {
        met = WalkInterior<kForward>(box, arrays, check, k, interiorLast, mark, meeting);
    }
    if (!met && last == top) {
        Settle<kForward>(box, arrays, check, top, kForward ? neighbour(top) + 1 : neighbour(top), mark, meeting);
    }
    markOut = mark;
    return meeting;
}

} // namespace

TMeeting ForwardPass(const TBox& box, TDiagonals& vf, const TDiagonals& vr, std::int32_t e, std::int32_t& mark)
{
    const std::int32_t p = e & 1;
    const TPassArrays arrays{vf.Half(p), vf.Half(1 - p), vr.Half(p), p};
    const TRange check = (box.delta % 2) != 0 ? TRange{box.delta - e + 1, box.delta + e - 1} : TRange{};
    return Pass<true>(box, arrays, check, -e, e, mark);
}

TMeeting ReversePass(const TBox& box, const TDiagonals& vf, TDiagonals& vr, std::int32_t e, std::int32_t& mark)
{
    const std::int32_t p = (box.delta - e) & 1;
    const TPassArrays arrays{vr.Half(p), vr.Half(1 - p), vf.Half(p), p};
    const TRange check = (box.delta % 2) != 0 ? TRange{} : TRange{-e, e};
    return Pass<false>(box, arrays, check, box.delta - e, box.delta + e, mark);
}

void SetVectorPasses(bool on)
{
    g_vectorPasses.store(on, std::memory_order_relaxed);
}

bool VectorPassesAvailable()
{
#ifdef QUILLET_DIFF_AVX2
    return HasAvx2();
#else
    return false;
#endif
}

} // namespace quillet::diff_search
