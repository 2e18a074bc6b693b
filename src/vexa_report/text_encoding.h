// Report text in the forms other formats need: GL strings are 8-bit text
// of any encoding, while XML, JSON and the chart want valid UTF-8.
#pragma once

#include <string>

// text with every byte that does not belong to a valid UTF-8 sequence
// replaced by U+FFFD, and control characters other than tab dropped.
std::string valid_utf8(const std::string& text);

// valid_utf8(text) with &, <, >, " and ' written as XML entities.
std::string xml_escaped(const std::string& text);
