#pragma once
// The Word layout of a document: a singly linked list of pages, each an array of typed record
// slots (text blocks, pictures, lines). The intermediate file writes these field for field, so
// the field order here is the file's order.
//
// Units are layout units: page-object pixels (72 dpi) times the zoom factor (zoom percent / 29),
// truncated toward zero.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quarnel::layout {

enum class RecordType : int32_t { Empty = 0, Text = 1, Picture = 2, Line = 4 };

inline constexpr int32_t TextFlagBold = 0x80;
inline constexpr int32_t TextFlagItalic = 0x100;
inline constexpr int32_t TextFlagTextBox = 0x200;

// A block of text (type 1). The initialisers are the values of a freshly made body.
struct TextRecordBody {
    int32_t x = 0;          // left edge of the block
    int32_t y = 0;          // top edge of the block
    int32_t color = 0;      // 0x00BBGGRR; white is stored as 0
    int32_t flags = 0;      // TextFlagBold | TextFlagItalic | TextFlagTextBox
    int32_t width = 0;      // block width
    int32_t height = 0;     // line height
    int32_t reserved1 = 0;
    int32_t textHeight = 48; // equals height once laid out
    int32_t reserved2 = 0x00080008;
    int32_t reserved3 = 0;
    int32_t reserved4 = 1;
    // text bytes in the active code page, no terminator; text.size() is the record's textLength.
    // 0x0A separates lines; leading 0x0A bytes give vertical space.
    std::string text;
};

// A picture (type 2): a 40-byte BITMAPINFOHEADER followed by the pixel rows it describes.
struct PictureRecordBody {
    int32_t x = 0;
    int32_t y = 0;
    int32_t pictureKind = 1; // 3 for pictures made from image elements
    int32_t width = 0;       // displayed size
    int32_t height = 0;
    std::vector<uint8_t> data; // data.size() is the record's dataLength
};

// A line (type 4) from (x, y) to (x + dx, y + dy).
struct ShapeRecordBody {
    int32_t x = 0;
    int32_t y = 0;
    int32_t dx = 0;
    int32_t dy = 0;
    int32_t penWidth = 1;
    int32_t color = 0;
    int32_t penStyle = 0; // 0 solid, 1 dashed
};

using RecordBody = std::variant<std::monostate, TextRecordBody, PictureRecordBody, ShapeRecordBody>;

// One slot. A slot whose type is not Empty but whose body is monostate has lost its body; the
// intermediate file then carries a freshly made body of that type.
struct LayoutRecord {
    RecordType type = RecordType::Empty;
    RecordBody body;
};

struct LayoutPage {
    int32_t width = 2480;   // set by buildPageLayout
    int32_t height = 3508;
    int32_t resolution = 300;
    // The slot array; absent until the page has been laid out (a page whose capture failed or
    // that a Stop left behind keeps none).
    std::optional<std::vector<LayoutRecord>> records;
    std::unique_ptr<LayoutPage> next; // the rest of the document

    LayoutPage() = default;
    LayoutPage(const LayoutPage &) = delete;
    LayoutPage &operator=(const LayoutPage &) = delete;
    // Unlinks the rest of the list iteratively, so long documents do not recurse deeply.
    ~LayoutPage()
    {
        std::unique_ptr<LayoutPage> rest = std::move(next);
        while (rest)
            rest = std::move(rest->next);
    }

    int32_t recordCount() const { return records ? static_cast<int32_t>(records->size()) : 0; }
};

} // namespace quarnel::layout
