#pragma once
// Font creation: a face name and style resolved through fontconfig to a FreeType face that cairo
// draws with. Creation fails only when no font file can be loaded for the face; fontconfig
// otherwise always offers its closest match, as the platform's font mapper does.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>

typedef struct _cairo_font_face cairo_font_face_t;

namespace quarnel::capture {

// What a character asks of the platform, in the terms of a Windows logical font.
struct LogicalFont {
    std::string faceName;   // at most 31 characters; may start with '@' (a vertical face)
    int32_t height = 0;     // em height in pixels; 0 means the platform default
    int32_t width = 0;      // average character width; 0 keeps the face's own aspect
    int32_t escapement = 0; // baseline angle, tenths of a degree counter-clockwise
    int32_t weight = 0;     // 700 bold, 0 default
    uint8_t italic = 0;     // non-zero: italic
    uint8_t charSet = 1;    // Windows character set; fontconfig picks faces by name alone
};

// A created font: the face to draw with and what drawing needs to size it.
struct PlatformFont {
    cairo_font_face_t *face = nullptr; // owned by the factory's cache
    double averageWidthPerEm = 0.5;    // the face's average character width, in ems
};

class FontFactory {
public:
    FontFactory() = default;
    ~FontFactory();
    FontFactory(const FontFactory &) = delete;
    FontFactory &operator=(const FontFactory &) = delete;

    // The font for `request`, or null when no font file can be loaded for it. Fonts are cached
    // by face, weight and slant; size and angle are applied when drawing.
    const PlatformFont *create(const LogicalFont &request);

    // Frees every cached face (for leak checkers at exit, and for tests).
    void clear();

private:
    using Key = std::tuple<std::string, bool, bool>;
    std::map<Key, std::unique_ptr<PlatformFont>> cache_; // a null entry remembers a failure
    // Consecutive characters mostly ask for the same font.
    Key lastKey_;
    const PlatformFont *lastFont_ = nullptr;
    bool haveLast_ = false;
};

} // namespace quarnel::capture
