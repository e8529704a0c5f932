#pragma once

#include <cstdint>
#include <memory>

namespace quillet::diff_search {

// One sub-problem of the middle-snake search: A[b1..t1) against B[b2..t2),
// both non-empty. On diagonal k, y = x - k + shift.
struct TBox {
    const std::int32_t* a = nullptr;
    const std::int32_t* b = nullptr;
    std::int32_t b1 = 0;
    std::int32_t b2 = 0;
    std::int32_t t1 = 0;
    std::int32_t t2 = 0;
    std::int32_t n = 0; // t1 - b1
    std::int32_t m = 0; // t2 - b2
    std::int32_t delta = 0; // n - m
    std::int32_t shift = 0; // b2 - b1
};

TBox MakeBox(
    const std::int32_t* a, const std::int32_t* b, std::int32_t b1, std::int32_t b2, std::int32_t t1, std::int32_t t2);

// The furthest-reaching x of each diagonal -maxD-1 .. maxD+1. Diagonals of
// even and of odd number are kept apart, diagonal k at half[k & 1][k >> 1]:
// a pass writes the diagonals of one parity and reads those of the other, so
// both run through contiguous entries. Entries start unwritten; the search
// reads only entries it wrote.
class TDiagonals {
public:
    explicit TDiagonals(std::int32_t maxD);

    std::int32_t& operator[](std::int32_t k) { return m_half[k & 1][k >> 1]; }
    std::int32_t operator[](std::int32_t k) const { return m_half[k & 1][k >> 1]; }
    // Entry of diagonal 2j + parity.
    std::int32_t* Half(std::int32_t parity) const { return m_half[parity]; }

private:
    std::unique_ptr<std::int32_t[]> m_storage;
    std::int32_t* m_half[2] = {nullptr, nullptr};
};

// Where a pass found the forward and reverse paths overlapping. Forward: the
// middle snake runs from (xs, ys) to (x, y). Reverse: (x, y) is the reverse
// path's end, on the forward path's diagonal.
struct TMeeting {
    bool found = false;
    std::int32_t xs = 0;
    std::int32_t ys = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// The forward pass of step e: extends the forward paths on the diagonals of
// e's parity from the previous step's, in increasing k, and stops at the
// first diagonal where a forward path overlaps the reverse one (checked only
// when delta is odd). `mark` grows to the largest x reached.
TMeeting ForwardPass(const TBox& box, TDiagonals& vf, const TDiagonals& vr, std::int32_t e, std::int32_t& mark);
// The reverse pass of step e, likewise towards (b1, b2), overlaps checked
// only when delta is even; `mark` falls to the smallest x reached.
TMeeting ReversePass(const TBox& box, const TDiagonals& vf, TDiagonals& vr, std::int32_t e, std::int32_t& mark);

// Whether the passes use the processor's vector instructions where it has
// them (the default); both ways give the same paths. For tests.
void SetVectorPasses(bool on);
bool VectorPassesAvailable();

} // namespace quillet::diff_search
