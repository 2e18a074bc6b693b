// The fourteen pixel formats under test, in the order they are measured.
#pragma once

#include <cstdint>

struct format_entry {
    int32_t number;          // 1 to 14, the row's position counted from 1
    int32_t internal_format; // passed to glTexImage2D
    int32_t type;            // pixel data type of the client data
    int32_t format;          // pixel data format of the client data
    int32_t bytes_per_texel; // size of one texel of client data, in bytes
};

constexpr int FORMAT_COUNT = 14;

extern const format_entry format_table[FORMAT_COUNT];

// Bytes per texel of client data in row index (0 to 13).
int texel_bytes(int index);
