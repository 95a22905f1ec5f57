#pragma once
// Where the frog's four limbs stand on the 8x8 board, packed in one 32-bit word that is compared,
// copied and used as a map key as it is. Byte i is the cell of limb i (0 left hand, 1 right hand,
// 2 left foot, 3 right foot; byte 0 least significant), x in the low nibble and y in the high
// nibble, each 0..7 on the board. The word 0 is "no pose" (all limbs on (0, 0)): never legal, and
// what every operation that can fail returns.
#include "core/CString.h"
#include "core/Vector2.h"

#include <cstdint>

class CPoseSkeleton;

class Pose
{
  public:
    constexpr Pose() = default;
    constexpr explicit Pose(uint32_t bits) : m_bits(bits) {}

    constexpr uint32_t Bits() const { return m_bits; }
    constexpr bool IsNone() const { return m_bits == 0; }

    friend constexpr bool operator==(Pose a, Pose b) { return a.m_bits == b.m_bits; }
    friend constexpr bool operator!=(Pose a, Pose b) { return a.m_bits != b.m_bits; }
    friend constexpr bool operator<(Pose a, Pose b) { return a.m_bits < b.m_bits; }

    // (x, y) of limb 0..3; (2147483647, 2147483647) for any other limb.
    static Vector2<int> GetCell(Pose pose, int limb);
    // The pose with limb's byte replaced by PackCell(cell); unchanged for a limb outside 0..3.
    static Pose SetCell(Pose pose, int limb, const Vector2<int>& cell);
    // One cell byte: x and 15 in the low nibble, y and 15 in the high one.
    static uint8_t PackCell(const Vector2<int>& cell);
    // Every nibble is 0..7, so all four cells lie on the board.
    static bool IsOnBoard(Pose pose);

    static bool HasDistinctCells(Pose pose);
    // How many of the four cells are equal in a and b (0..4).
    static int CountEqualCells(Pose a, Pose b);
    // The one limb whose cell differs; -1 when none or more than one does.
    static int ChangedLimb(Pose a, Pose b);

    // pose shifted, x and y separately, so that its limb lands on other's cell of that limb;
    // 0 when any shifted cell would leave the board.
    static Pose AlignTo(Pose pose, Pose other, int limb);
    // Moves pose to the origin (smallest x and smallest y become 0) and returns the offset
    // subtracted, in cells.
    static Vector2<int> Normalise(Pose& pose);
    static void MirrorX(Pose& pose);
    // The board's symmetries: with flag 4, x := 7 - x first; then (flags and 3) quarter turns,
    // each (x, y) -> (y, 7 - x).
    static Pose Transform(Pose pose, int flags);

    // Eight upper-case hexadecimal digits, most significant first ("%08X").
    static CString ToText(Pose pose);
    // Reads ToText's form into pose. A null text or one whose length is not 8 leaves pose as it
    // was; so does a text with any character outside '0'..'7' (a cell off the board, as a hand-
    // edited file could hold). True when pose was set.
    static bool FromText(const char* text, Pose& pose);

    // The cells nearest the anchors of the skeleton's limb joints; limbs the skeleton lacks stay
    // on byte 0.
    static Pose FromSkeleton(const CPoseSkeleton& skeleton);
    // Puts each limb joint's position and anchor on its cell.
    static void ApplyToSkeleton(Pose pose, CPoseSkeleton& skeleton);

  private:
    uint32_t m_bits = 0;
};
