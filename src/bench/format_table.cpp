// The format table. Enumerants are given by value: the EXT_abgr, EXT_bgra
// and packed-pixel names are missing from some platforms' GL 1.1 headers,
// and a row whose enumerant the implementation lacks is still measured (its
// GL error is reported with the result).
#include "bench/format_table.h"

static constexpr int32_t UNSIGNED_BYTE = 0x1401;
static constexpr int32_t UNSIGNED_SHORT_5_5_5_1 = 0x8034;
static constexpr int32_t UNSIGNED_SHORT_4_4_4_4 = 0x8033;
static constexpr int32_t RGB = 0x1907;
static constexpr int32_t RGBA = 0x1908;
static constexpr int32_t ABGR_EXT = 0x8000;
static constexpr int32_t BGRA_EXT = 0x80E1;
static constexpr int32_t RGBA8 = 0x8058;
static constexpr int32_t RGB5_A1 = 0x8057;
static constexpr int32_t RGBA4 = 0x8056;

// Rows 1-9: three ways to ask for RGBA (4 components, GL_RGBA, GL_RGBA8)
// against three client orders (RGBA, ABGR, BGRA). Rows 10-13: the 16-bit
// formats fed with bytes, then with their packed type. Row 14: plain RGB.
// Sized by its rows: a row too many or too few conflicts with the declaration.
const format_entry format_table[] = {
    {1, 4, UNSIGNED_BYTE, RGBA, 4},
    {2, RGBA, UNSIGNED_BYTE, RGBA, 4},
    {3, RGBA8, UNSIGNED_BYTE, RGBA, 4},
    {4, 4, UNSIGNED_BYTE, ABGR_EXT, 4},
    {5, RGBA, UNSIGNED_BYTE, ABGR_EXT, 4},
    {6, RGBA8, UNSIGNED_BYTE, ABGR_EXT, 4},
    {7, 4, UNSIGNED_BYTE, BGRA_EXT, 4},
    {8, RGBA, UNSIGNED_BYTE, BGRA_EXT, 4},
    {9, RGBA8, UNSIGNED_BYTE, BGRA_EXT, 4},
    {10, RGB5_A1, UNSIGNED_BYTE, RGBA, 4},
    {11, RGB5_A1, UNSIGNED_SHORT_5_5_5_1, RGBA, 2},
    {12, RGBA4, UNSIGNED_BYTE, RGBA, 4},
    {13, RGBA4, UNSIGNED_SHORT_4_4_4_4, RGBA, 2},
    {14, 3, UNSIGNED_BYTE, RGB, 3},
};

int texel_bytes(int index)
{
    return format_table[index].bytes_per_texel;
}
