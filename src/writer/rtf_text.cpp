#include "writer/rtf_text.h"

#include "platform/code_page.h"

#include <charconv>

namespace quarnel::writer {
namespace {

struct CharsetEntry {
    int codePage;
    int charset;
};

constexpr CharsetEntry charsetTable[] = {
    {1252, 0},   {1250, 238}, {1251, 204}, {1253, 161}, {1254, 162}, {1255, 177}, {1256, 178},
    {1257, 186}, {1258, 163}, {874, 222},  {932, 128},  {936, 134},  {949, 129},  {950, 136},
};

const char hexDigits[] = "0123456789abcdef";

// The code-page bytes a reader without Unicode support shows; "?" when there are none, or when
// the font's charset would not decode them back (code pages without an RTF charset).
std::string fallbackBytes(platform::CodePageEncoder &encoder, std::u16string_view character)
{
    const int codePage = encoder.codePage();
    if (charsetForCodePage(codePage) == 0 && codePage != 1252)
        return "?";
    std::string bytes;
    encoder.append(character, bytes);
    return bytes.empty() ? "?" : bytes;
}

void setSkipCount(std::string &out, int &skipCount, int wanted)
{
    if (wanted == skipCount)
        return;
    skipCount = wanted;
    out += "\\uc";
    appendNumber(out, wanted);
    out += ' ';
}

// Writes \uN and its fallback bytes; \ucN has been set to the fallback's length.
void appendUnicodeWithFallback(std::string &out, char16_t unit, const std::string &fallback)
{
    out += "\\u";
    appendNumber(out, static_cast<int16_t>(unit)); // RTF takes signed 16-bit values
    const unsigned char first = fallback.empty() ? 0 : static_cast<unsigned char>(fallback[0]);
    // A digit or blank right after the number would be read as part of the control word.
    if (first == ' ' || (first >= '0' && first <= '9'))
        out += ' ';
    for (unsigned char byte : fallback) {
        if (byte >= 0x20 && byte < 0x80 && byte != '\\' && byte != '{' && byte != '}') {
            out += char(byte);
        } else {
            out += "\\'";
            out += hexDigits[byte >> 4];
            out += hexDigits[byte & 15];
        }
    }
}

} // namespace

int charsetForCodePage(int codePage)
{
    for (const CharsetEntry &entry : charsetTable)
        if (entry.codePage == codePage)
            return entry.charset;
    return 0;
}

int ansiCodePageFor(int codePage)
{
    for (const CharsetEntry &entry : charsetTable)
        if (entry.codePage == codePage)
            return codePage;
    return 1252;
}

void appendNumber(std::string &out, long long value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendRtfText(std::string &out, std::string_view bytes, int codePage)
{
    const std::u16string text = platform::codePageToUtf16(bytes, codePage);
    platform::CodePageEncoder encoder(codePage);
    int skipCount = 1;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit == u'\n') {
            out += "\\line ";
        } else if (unit == u'\t') {
            out += "\\tab ";
        } else if (unit < 0x20 || unit == 0x7F) {
            continue;
        } else if (unit < 0x80) {
            if (unit == u'\\' || unit == u'{' || unit == u'}')
                out += '\\';
            out += char(unit);
        } else if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                   text[i + 1] <= 0xDFFF) {
            // A surrogate pair gets one fallback, after its second half.
            setSkipCount(out, skipCount, 0);
            appendUnicodeWithFallback(out, unit, "");
            setSkipCount(out, skipCount, 1);
            appendUnicodeWithFallback(out, text[++i], "?");
        } else {
            const std::string fallback = fallbackBytes(encoder, std::u16string_view(&text[i], 1));
            setSkipCount(out, skipCount, int(fallback.size()));
            appendUnicodeWithFallback(out, unit, fallback);
        }
    }
}

void appendFontName(std::string &out, std::string_view name, int codePage)
{
    std::string cleaned;
    for (char c : name)
        if (c != ';' && c != '{' && c != '}' && c != '\\')
            cleaned += c;
    appendRtfText(out, cleaned, codePage);
}

} // namespace quarnel::writer
