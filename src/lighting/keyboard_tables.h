// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard's lighting geometry: which LED slot each key position drives, the grid of
// light columns, the paths the moving effects follow, the twinkle order, the start levels
// and the rings. Key positions are those of the keyboard page (row x 21 + column); 255 and
// 126 mark gaps, which no effect ever writes.

#include <array>
#include <cstddef>
#include <cstdint>

namespace orvane::lighting {

inline constexpr size_t kKeyCount = 126;
/// A position or slot with no LED (slot tables, paths, mono columns).
inline constexpr uint8_t kNoKey = 126;
/// An empty cell of the grid and the rings.
inline constexpr uint8_t kNoCell = 255;
constexpr bool IsKey(uint8_t v) { return v < kNoKey; }

inline constexpr size_t kGridColumns = 23;
inline constexpr size_t kGridRows = 6;

namespace detail {
/// The listed entries, then `fill` up to N.
template <size_t N, size_t M>
constexpr std::array<uint8_t, N> Padded(const std::array<uint8_t, M>& listed, uint8_t fill) {
    static_assert(M <= N);
    std::array<uint8_t, N> out{};
    for (size_t i = 0; i < N; ++i) out[i] = i < M ? listed[i] : fill;
    return out;
}
}  // namespace detail

/// Key position -> RGB keyboard LED slot (3 bytes each in the 378-byte frame).
inline constexpr std::array<uint8_t, kKeyCount> kRgbSlot{
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16, 17, 17, 18, 19,
    20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39,
    40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59,
    60, 61, 126, 63, 64, 65, 66, 67, 68, 69, 70, 71, 72, 73, 74, 76, 80, 81, 82, 75,
    96, 126, 126, 126, 84, 86, 87, 88, 89, 90, 91, 92, 93, 94, 95, 97, 99, 101, 102, 103,
    126, 126, 126, 126, 126, 105, 106, 107, 108, 109, 110, 111, 113, 119, 120, 121, 123, 124, 104, 62,
    112, 114, 126, 126, 126, 126,};

/// Key position -> single-colour keyboard LED slot (1 byte each in the 126-byte frame).
inline constexpr std::array<uint8_t, kKeyCount> kMonoSlot{
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 126, 126, 126, 126,
    126, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 53, 35,
    71, 89, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 68,
    69, 70, 126, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 67, 86, 87, 88, 126,
    126, 126, 126, 126, 72, 74, 75, 76, 77, 78, 79, 80, 81, 82, 83, 84, 85, 103, 104, 105,
    126, 126, 126, 126, 126, 90, 91, 92, 93, 94, 95, 96, 97, 98, 99, 100, 101, 102, 106, 107,
    126, 126, 122, 123, 124, 125,};

/// 23 columns x 6 rows of key positions, column by column; row 0 is the function-key row.
inline constexpr std::array<uint8_t, kGridColumns * kGridRows> kGrid{
    255, 255, 255, 255, 255, 105,
    255, 21, 42, 63, 84, 106,
    0, 22, 43, 64, 85, 107,
    1, 23, 44, 65, 86, 255,
    2, 24, 45, 66, 87, 255,
    3, 25, 46, 67, 88, 120,
    4, 26, 47, 68, 89, 108,
    255, 27, 48, 69, 90, 121,
    5, 28, 49, 70, 91, 255,
    6, 29, 50, 71, 92, 109,
    7, 30, 51, 72, 93, 109,
    8, 31, 52, 73, 94, 110,
    9, 32, 53, 74, 255, 111,
    10, 33, 54, 79, 80, 255,
    11, 55, 255, 75, 95, 112,
    12, 34, 255, 255, 95, 112,
    13, 35, 56, 255, 255, 113,
    14, 36, 57, 255, 96, 114,
    15, 37, 58, 255, 255, 115,
    17, 38, 59, 76, 97, 116,
    18, 39, 60, 77, 98, 116,
    19, 40, 61, 78, 99, 117,
    20, 41, 255, 119, 118, 255,};
constexpr uint8_t GridCell(size_t column, size_t row) { return kGrid[column * kGridRows + row]; }

/// The grid's columns with a leading gap each: 23 x 7 entries.
inline constexpr std::array<uint8_t, kGridColumns * 7> kColumns = [] {
    std::array<uint8_t, kGridColumns * 7> c{};
    for (size_t col = 0; col < kGridColumns; ++col) {
        c[col * 7] = kNoCell;
        for (size_t row = 0; row < kGridRows; ++row) c[col * 7 + 1 + row] = GridCell(col, row);
    }
    return c;
}();

/// The single-colour keyboard's 23 columns x 6 entries.
inline constexpr std::array<uint8_t, kGridColumns * kGridRows> kMonoColumns{
    126, 126, 126, 84, 105, 126,
    21, 42, 63, 126, 106, 0,
    22, 43, 64, 85, 107, 1,
    23, 44, 65, 86, 126, 2,
    24, 45, 66, 87, 126, 3,
    25, 46, 67, 88, 126, 4,
    26, 47, 68, 89, 108, 126,
    27, 48, 69, 90, 126, 5,
    28, 49, 70, 91, 126, 6,
    29, 50, 71, 92, 109, 7,
    30, 51, 72, 93, 109, 8,
    31, 52, 73, 94, 110, 9,
    32, 53, 74, 126, 111, 10,
    33, 54, 126, 126, 126, 11,
    34, 55, 75, 95, 112, 12,
    34, 55, 126, 95, 112, 13,
    35, 56, 126, 126, 113, 14,
    36, 57, 126, 96, 114, 15,
    37, 58, 126, 126, 115, 122,
    38, 59, 76, 97, 116, 123,
    39, 60, 77, 98, 116, 124,
    40, 61, 78, 99, 117, 125,
    41, 126, 119, 118, 126, 0,};

/// The RGB keyboard's snake through all keys (113 listed, then gaps up to 126).
inline constexpr std::array<uint8_t, kKeyCount> kPath = detail::Padded<kKeyCount>(std::array<uint8_t, 113>{
    17, 18, 19, 20, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0,
    21, 42, 63, 84, 105, 106, 107, 120, 108, 121, 109, 110, 111, 112, 113, 114, 115, 116, 117, 118,
    119, 41, 40, 39, 38, 37, 36, 35, 34, 55, 33, 32, 31, 30, 29, 28, 27, 26, 25, 24,
    23, 22, 43, 64, 126, 85, 86, 87, 88, 89, 90, 91, 92, 93, 94, 80, 95, 96, 97, 98,
    99, 78, 61, 60, 59, 58, 57, 56, 54, 53, 52, 51, 50, 49, 48, 47, 46, 45, 44, 65,
    66, 67, 68, 69, 70, 71, 72, 73, 74, 79, 75, 76, 77,}, kNoKey);

/// The single-colour keyboard's snake (108 listed, then gaps up to 128).
inline constexpr std::array<uint8_t, 128> kMonoPath = detail::Padded<128>(std::array<uint8_t, 108>{
    122, 123, 124, 125, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0,
    21, 42, 63, 84, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115, 116, 117, 118, 119, 41,
    40, 39, 38, 37, 36, 35, 34, 33, 32, 31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 43,
    64, 85, 86, 87, 88, 89, 90, 91, 92, 93, 94, 95, 96, 97, 98, 99, 78, 61, 60, 59,
    58, 57, 56, 55, 54, 53, 52, 51, 50, 49, 48, 47, 46, 45, 44, 65, 66, 67, 68, 69,
    70, 71, 72, 73, 74, 75, 76, 77,}, kNoKey);

/// The running light's route on the RGB keyboard: 113 listed keys, then gaps up to the
/// 117 steps the running position counts (0-116).
inline constexpr std::array<uint8_t, 117> kRunPath = detail::Padded<117>(std::array<uint8_t, 113>{
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 17, 18, 19, 20,
    41, 40, 39, 38, 37, 36, 35, 34, 55, 33, 32, 31, 30, 29, 28, 27, 26, 25, 24, 23,
    22, 21, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 56, 57, 58, 59, 60,
    61, 119, 78, 77, 76, 75, 79, 74, 73, 72, 71, 70, 69, 68, 67, 66, 65, 64, 63, 84,
    126, 85, 86, 87, 88, 89, 90, 91, 92, 93, 94, 80, 95, 96, 97, 98, 99, 118, 117, 116,
    115, 114, 113, 112, 111, 110, 109, 121, 108, 120, 107, 106, 105,}, kNoKey);

/// The running light's route on the single-colour keyboard (110 steps).
inline constexpr std::array<uint8_t, 110> kMonoRunPath{
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 122, 123, 124, 125,
    41, 40, 39, 38, 37, 36, 35, 34, 33, 32, 31, 30, 29, 28, 27, 26, 25, 24, 23, 22,
    21, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60,
    61, 119, 78, 77, 76, 75, 126, 74, 73, 72, 71, 70, 69, 68, 67, 66, 65, 64, 63, 84,
    126, 85, 86, 87, 88, 89, 90, 91, 92, 93, 94, 95, 96, 97, 98, 99, 118, 117, 116, 115,
    114, 113, 112, 111, 110, 109, 108, 107, 106, 105,};

/// Twinkle order: indices into kPath. The 113 listed indices, then 113-116, which name the
/// path's trailing gaps, so the twinkle position can count 0-116 and stay inside the table.
inline constexpr std::array<uint8_t, 117> kShuffle = [] {
    constexpr std::array<uint8_t, 113> listed{
    88, 24, 101, 57, 16, 69, 35, 34, 36, 51, 78, 18, 12, 66, 97, 9, 33, 41, 55, 52,
    48, 95, 77, 70, 104, 10, 23, 39, 3, 102, 17, 65, 22, 105, 31, 4, 85, 76, 15, 60,
    54, 21, 83, 94, 6, 61, 49, 20, 5, 14, 106, 68, 98, 71, 27, 81, 1, 0, 87, 46,
    75, 37, 73, 32, 79, 8, 29, 107, 72, 56, 44, 99, 13, 47, 42, 93, 112, 91, 80, 86,
    89, 43, 28, 58, 59, 108, 38, 53, 2, 62, 64, 90, 96, 74, 111, 92, 40, 25, 26, 7,
    30, 50, 84, 109, 45, 67, 19, 103, 100, 82, 11, 63, 110,};
    std::array<uint8_t, 117> s{};
    for (size_t i = 0; i < 117; ++i) s[i] = i < listed.size() ? listed[i] : static_cast<uint8_t>(i);
    return s;
}();

/// Start level (or phase) of each grid cell, in grid order.
inline constexpr std::array<uint8_t, kGridColumns * kGridRows> kStartLevels{
    72, 52, 32, 12, 182, 120,
    72, 52, 32, 12, 182, 162,
    120, 100, 80, 60, 40, 20,
    92, 82, 72, 62, 52, 42,
    160, 140, 120, 100, 80, 60,
    80, 70, 60, 50, 20, 10,
    90, 30, 0, 160, 130, 100,
    50, 30, 10, 180, 160, 140,
    32, 22, 12, 2, 182, 172,
    120, 100, 80, 60, 40, 20,
    20, 5, 185, 170, 155, 140,
    60, 35, 15, 180, 155, 130,
    120, 110, 100, 90, 80, 70,
    192, 162, 132, 102, 72, 32,
    80, 70, 60, 50, 20, 10,
    100, 95, 90, 85, 80, 75,
    90, 80, 70, 60, 50, 40,
    140, 110, 80, 50, 20, 180,
    70, 55, 40, 25, 10, 190,
    120, 100, 80, 60, 40, 20,
    92, 82, 72, 62, 52, 42,
    60, 50, 40, 30, 20, 10,
    192, 162, 132, 102, 72, 32,};

inline constexpr size_t kRingCount = 12;
inline constexpr size_t kRingSize = 12;
/// Twelve concentric rings round the middle of the keyboard, key positions looked up in
/// kPath; 255 = no entry.
inline constexpr std::array<std::array<uint8_t, kRingSize>, kRingCount> kRings{{
    {51, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255},
    {30, 50, 71, 72, 52, 31, 255, 255, 255, 255, 255, 255},
    {8, 29, 49, 70, 91, 92, 93, 73, 53, 32, 121, 255},
    {7, 28, 48, 69, 90, 109, 94, 74, 54, 33, 9, 80},
    {6, 27, 47, 68, 89, 110, 95, 75, 80, 34, 10, 79},
    {5, 26, 46, 67, 88, 108, 111, 112, 56, 35, 12, 11},
    {4, 25, 45, 66, 87, 113, 96, 57, 36, 13, 20, 120},
    {3, 24, 44, 65, 86, 114, 115, 58, 37, 15, 14, 255},
    {2, 23, 43, 64, 85, 107, 97, 76, 59, 38, 255, 255},
    {1, 22, 42, 63, 84, 106, 116, 98, 77, 60, 39, 19},
    {0, 21, 105, 117, 99, 78, 61, 40, 17, 18, 255, 255},
    {118, 119, 41, 255, 255, 255, 255, 255, 255, 255, 255, 255},
}};

/// kMonoPath with the RGB keyboard's four lamp positions 17-20 in place of the
/// single-colour keyboard's 122-125, then 0 up to 126 entries.
inline constexpr std::array<uint8_t, kKeyCount> kPath2 = [] {
    std::array<uint8_t, kKeyCount> p{};
    for (size_t i = 0; i < 108; ++i) p[i] = kMonoPath[i];
    for (size_t i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(17 + i);
    return p;
}();

/// For each key position the first index i with kPath[i] == position, or kNoCell.
inline constexpr std::array<uint8_t, kKeyCount> kPathIndexOf = [] {
    std::array<uint8_t, kKeyCount> inv{};
    inv.fill(kNoCell);
    for (size_t i = kPath.size(); i-- > 0;)
        if (IsKey(kPath[i])) inv[kPath[i]] = static_cast<uint8_t>(i);
    return inv;
}();

}  // namespace orvane::lighting
