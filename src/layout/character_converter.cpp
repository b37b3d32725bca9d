#include "layout/character_converter.h"

#include "layout/text_options.h"

#include <algorithm>

namespace quarnel::layout {
namespace {

bool isHighSurrogate(uint16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(uint16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Code units of the character that starts at `index`: two for a surrogate pair, else one.
size_t characterLength(std::span<const uint16_t> units, size_t index)
{
    if (isHighSurrogate(units[index]) && index + 1 < units.size() && isLowSurrogate(units[index + 1]))
        return 2;
    return 1;
}

// The single ASCII character a GB2312 curly quote stands for, or 0.
char asciiQuoteFor(const std::string &bytes, size_t firstLength)
{
    if (firstLength != 2)
        return 0;
    const unsigned value = (static_cast<unsigned char>(bytes[0]) << 8) | static_cast<unsigned char>(bytes[1]);
    switch (value) {
    case 0xA1AE:
    case 0xA1AF:
        return '\'';
    case 0xA1B0:
    case 0xA1B1:
        return '"';
    default:
        return 0;
    }
}

} // namespace

CharacterConverter::CharacterConverter(int codePage, int language) : encoder_(codePage), language_(language) {}

std::string CharacterConverter::convert(std::span<const uint16_t> units)
{
    std::string bytes;
    size_t firstLength = 0;
    std::u16string character;
    std::string encoded;
    for (size_t i = 0; i < units.size();) {
        const size_t length = characterLength(units, i);
        character.assign(units.begin() + static_cast<std::ptrdiff_t>(i),
                         units.begin() + static_cast<std::ptrdiff_t>(i + length));
        encoded.clear();
        encoder_.append(character, encoded);
        if (bytes.size() + encoded.size() > MaxBytes)
            break;
        if (i == 0)
            firstLength = encoded.size();
        bytes += encoded;
        i += length;
    }
    if (bytes.empty())
        return bytes;

    // The encoder writes '?' for what the code page lacks; only a real question mark keeps it.
    // The whole code unit is compared: U+013F or U+203F also end in the byte 0x3F.
    if (bytes[0] == '?' && units[0] != u'?') {
        bytes[0] = ' ';
    } else {
        if (const char quote = asciiQuoteFor(bytes, firstLength)) {
            bytes.replace(0, 2, 1, quote);
            firstLength = 1;
        }
        if (language_ == LanguageEnglish && static_cast<unsigned char>(bytes[0]) >= 0x80)
            bytes.replace(0, firstLength, 1, ' ');
    }
    bytes.erase(std::remove(bytes.begin(), bytes.end(), '\0'), bytes.end());
    return bytes;
}

} // namespace quarnel::layout
