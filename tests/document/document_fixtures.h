#pragma once
// Layout pages made by hand for the document tests, and a way to run vornik and read its output.
#include "layout/layout_records.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quarnel::testing {

layout::LayoutRecord textRecord(int32_t x, int32_t y, std::string text, int32_t flags = 0, int32_t height = 40,
                                int32_t width = 600, int32_t color = 0);
// A picture of bitmapWidth × bitmapHeight pixels of one colour (0x00RRGGBB as drawn), placed at
// (x, y) with the displayed size width × height; a 32-bit bottom-up bitmap as captured.
layout::LayoutRecord pictureRecord(int32_t x, int32_t y, int32_t width, int32_t height, int32_t bitmapWidth,
                                   int32_t bitmapHeight, uint32_t rgb);
layout::LayoutRecord lineRecord(int32_t x, int32_t y, int32_t dx, int32_t dy, int32_t penWidth = 3,
                                int32_t color = 0, int32_t penStyle = 0);

// A document under construction: the first page is the head, later ones are linked after it.
class LayoutDocument {
public:
    // Adds a laid-out page (with a slot array) holding `records`.
    layout::LayoutPage &addPage(int32_t width, int32_t height, std::vector<layout::LayoutRecord> records = {});
    // Adds a page that was never laid out: 2480 × 3508 and no slot array.
    layout::LayoutPage &addUnbuiltPage();
    const layout::LayoutPage &head() const { return head_; }

private:
    layout::LayoutPage &nextPage();
    layout::LayoutPage head_;
    layout::LayoutPage *tail_ = nullptr;
};

// Little-endian bytes of 32-bit fields, for spelling out expected files.
std::string le32(std::initializer_list<int32_t> fields);

struct ProgramRun {
    int exitCode = -1;
    std::string errorOutput; // what the program wrote to standard error
};

// Runs a program with extra environment entries ("NAME=value"), capturing standard error.
ProgramRun runProgram(const std::vector<std::string> &argv, const std::vector<std::string> &environment = {});

// The vornik built with the tests.
std::string vornikPath();

// Writes the document's intermediate file to `path`.
void writeIntermediate(const LayoutDocument &document, const std::string &path);

} // namespace quarnel::testing
