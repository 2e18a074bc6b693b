#include "vexa_report/text_encoding.h"

namespace {

const char REPLACEMENT[] = "\xEF\xBF\xBD"; // U+FFFD

// Length of the valid UTF-8 sequence at text[i], or 0.
size_t sequence_length(const std::string& text, size_t i)
{
    unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t length;
    unsigned min_value;
    unsigned value;
    if (lead < 0x80) {
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, min_value = 0x80, value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, min_value = 0x800, value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, min_value = 0x10000, value = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k) {
        unsigned char next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (next & 0x3F);
    }
    // Overlong forms, UTF-16 surrogates and values past U+10FFFF are not text.
    if (value < min_value || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
        return 0;
    return length;
}

} // namespace

std::string valid_utf8(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        size_t length = sequence_length(text, i);
        if (length == 0) {
            out += REPLACEMENT;
            ++i;
            continue;
        }
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (length > 1 || c >= 0x20 || c == '\t')
            out.append(text, i, length);
        i += length;
    }
    return out;
}

std::string xml_escaped(const std::string& text)
{
    std::string out;
    for (char c : valid_utf8(text)) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}
