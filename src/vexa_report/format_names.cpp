// Names for the rows of the benchmark's format table, taken from the
// enumerant values in that table.
#include "vexa_report/format_names.h"

#include <cstdio>

#include "bench/format_table.h"

namespace {

struct enum_name {
    int value;
    const char* name;
};

const enum_name INTERNAL_FORMATS[] = {
    {3, "3"},          {4, "4"},          {0x1907, "RGB"},
    {0x1908, "RGBA"},  {0x8056, "RGBA4"}, {0x8057, "RGB5_A1"},
    {0x8058, "RGBA8"},
};
const enum_name CLIENT_FORMATS[] = {
    {0x1907, "RGB"},
    {0x1908, "RGBA"},
    {0x8000, "ABGR"},
    {0x80E1, "BGRA"},
};
const enum_name TYPES[] = {
    {0x1401, "ubyte"},
    {0x8033, "ushort_4_4_4_4"},
    {0x8034, "ushort_5_5_5_1"},
};
const enum_name GL_ERRORS[] = {
    {0x0500, "GL_INVALID_ENUM"},
    {0x0501, "GL_INVALID_VALUE"},
    {0x0502, "GL_INVALID_OPERATION"},
    {0x0503, "GL_STACK_OVERFLOW"},
    {0x0504, "GL_STACK_UNDERFLOW"},
    {0x0505, "GL_OUT_OF_MEMORY"},
    {0x0506, "GL_INVALID_FRAMEBUFFER_OPERATION"},
};

template <size_t N>
std::string lookup(const enum_name (&names)[N], int value, bool hex_if_unknown)
{
    for (const enum_name& entry : names) {
        if (entry.value == value)
            return entry.name;
    }
    if (!hex_if_unknown)
        return "";
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%X", static_cast<unsigned>(value));
    return hex;
}

} // namespace

const char* const PATH_KEYS[] = {"upload", "back_copy", "front_copy"};
const char* const PATH_TITLES[] = {"Upload", "Back copy", "Front copy"};
const char* const PATH_DESCRIPTIONS[] = {
    "upload from client memory",
    "copy from the back buffer",
    "copy from the front buffer",
};
const char* const PATH_HEADINGS[] = {
    "Upload from client memory",
    "Copy from the back buffer",
    "Copy from the front buffer",
};

std::string internal_format_name(int index)
{
    return lookup(INTERNAL_FORMATS, format_table[index].internal_format, true);
}

std::string client_format_name(int index)
{
    return lookup(CLIENT_FORMATS, format_table[index].format, true);
}

std::string type_name(int index)
{
    return lookup(TYPES, format_table[index].type, true);
}

std::string format_name(int index)
{
    return internal_format_name(index) + " \u2190 " + client_format_name(index) + "/" +
           type_name(index);
}

std::string gl_error_name(int code)
{
    return lookup(GL_ERRORS, code, false);
}
