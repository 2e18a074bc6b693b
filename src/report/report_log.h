// The report: every result line goes to "VexaTextureSpeed.txt" and to the
// console. Lines are formatted into line_buf and written by emit_line; the
// OpenGL extension block goes to the file alone.
#pragma once

constexpr int LINE_BUF_SIZE = 1000;

extern char line_buf[LINE_BUF_SIZE]; // one NUL-terminated line, CR LF inside
extern const char REPORT_FILE_NAME[]; // "VexaTextureSpeed.txt", in the current directory
extern const char RULE_LINE[]; // the rule under each section heading, with a blank line

// Readies standard output for the console copy before anything is opened
// or written: bytes pass through unchanged, and a console that cannot be
// written does not end the run. Defined once per platform; main calls it
// first.
void prepare_console();

// Opens the report file (or goes on without it) and writes the header.
// Needs a current GL context: the header holds the implementation's strings.
void report_open();

// Writes line_buf to the report file, if open, and then to standard output.
void emit_line();

// Writes text to the report file only; nothing when the file is not open.
void write_file_only(const char* text);

// Closes the report file if it is open.
void report_close();

// Starts the text viewer on the report without waiting for it; the result
// is ignored. Defined once per platform.
void show_report();
