// Names a person reads for the benchmark's fourteen formats and three paths.
#pragma once

#include <string>

// "RGBA8", "4" (a component count, the OpenGL 1.0 style), "RGB5_A1"...
std::string internal_format_name(int index);
// "RGBA", "ABGR", "BGRA", "RGB": the order of the client data.
std::string client_format_name(int index);
// "ubyte", "ushort_5_5_5_1", "ushort_4_4_4_4".
std::string type_name(int index);
// The three together, as in "RGBA8 ← BGRA/ubyte" (UTF-8).
std::string format_name(int index);

// "upload", "back_copy", "front_copy": for files and scripts.
extern const char* const PATH_KEYS[];
// "Upload", "Back copy", "Front copy": for column heads.
extern const char* const PATH_TITLES[];
// "upload from client memory"...: for sentences.
extern const char* const PATH_DESCRIPTIONS[];
// "Upload from client memory"...: for section and panel headings.
extern const char* const PATH_HEADINGS[];

// "GL_INVALID_ENUM" and the like, or "" for a code that is not a GL error.
std::string gl_error_name(int code);
