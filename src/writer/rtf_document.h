#pragma once
// The RTF document, written page by page: one section per page with that page's size; text
// records either flow as paragraphs or sit in page-anchored frames (text-box mode); pictures and
// lines are page-anchored shapes. Output is 7-bit and does not depend on the locale.
#include "layout/layout_records.h"
#include "writer/rtf_shapes.h"

#include <map>
#include <string>

namespace quarnel::writer {

// The text colours of a document, gathered before the header is written because \colortbl
// must come first.
class ColorTable {
public:
    void add(int32_t color);
    // The \cf index of a colour; 0 (the reader's automatic colour) for one never added.
    int index(int32_t color) const;
    void appendTo(std::string &out) const;

private:
    std::map<int32_t, int> indices_; // 0x00BBGGRR → position in the table, from 1
};

class RtfDocument {
public:
    // `fontName` in the active code page; `codePage` decodes the text records.
    RtfDocument(std::string fontName, int codePage, ColorTable colors);

    // The document start; paper size taken from the first page.
    void appendHeader(std::string &out, const layout::LayoutPage &firstPage) const;
    // One page as its own section; pages after the first start with a section break.
    void appendPage(std::string &out, const layout::LayoutPage &page, bool firstPage);
    void appendTrailer(std::string &out) const;

    // Picture records skipped so far because their bitmap header did not match their data.
    int skippedPictures() const { return skippedPictures_; }
    // Pages whose lines were left out because their picture could not be encoded.
    int skippedLinePictures() const { return skippedLinePictures_; }

private:
    void appendSectionStart(std::string &out, const layout::LayoutPage &page, int64_t topMargin) const;
    void appendFrame(std::string &out, const layout::TextRecordBody &text, int64_t pageWidth);
    void appendCharacterFormat(std::string &out, const layout::TextRecordBody &text) const;
    void appendShapes(std::string &out, const layout::LayoutPage &page);
    // The page's lines as line shapes, or as one picture when shapes would cost a reader too much.
    void appendLines(std::string &out, const layout::LayoutPage &page);
    void appendFlowParagraph(std::string &out, const layout::TextRecordBody &text, bool first);

    std::string fontName_;
    int codePage_;
    ColorTable colors_;
    ShapeCounter shapeIds_;
    int skippedPictures_ = 0;
    int skippedLinePictures_ = 0;
    int lineShapesWritten_ = 0;
    // The previous frame's geometry: identical neighbours would merge into one frame.
    int64_t lastFrame_[3] = {-1, -1, -1};
};

} // namespace quarnel::writer
