#include "writer/rtf_document.h"

#include "writer/rtf_text.h"
#include "writer/units.h"

#include <algorithm>
#include <vector>

namespace quarnel::writer {
namespace {

using layout::LayoutPage;
using layout::RecordType;
using layout::TextRecordBody;

// Page sizes Word accepts: 0.5 in to 22 in.
constexpr int64_t MinPageTwips = 720;
constexpr int64_t MaxPageTwips = 31680;
// LibreOffice takes about 15 ms per line shape. A page with more lines than this (or whose
// dashed lines need more shapes), or any page once the document has written this many shapes,
// gets its lines as one picture instead. Pages with a few lines, such as simple tables or a
// couple of dashed rules, keep shapes the user can edit.
constexpr int PageLineLimit = 40;
constexpr int PageLineShapeLimit = 200;
constexpr int DocumentLineShapeBudget = 1000;
// The narrowest text frame: half an inch, room for a few characters.
constexpr int64_t MinFrameTwips = 720;

int64_t pageTwips(int32_t units)
{
    return std::clamp<int64_t>(toTwips(units), MinPageTwips, MaxPageTwips);
}

bool isTextBox(const TextRecordBody &text)
{
    return (text.flags & layout::TextFlagTextBox) != 0;
}

size_t leadingLineFeeds(const std::string &text)
{
    size_t count = 0;
    while (count < text.size() && text[count] == '\n')
        ++count;
    return count;
}

template <typename Body> std::vector<const Body *> bodiesOf(const LayoutPage &page, RecordType type)
{
    std::vector<const Body *> bodies;
    if (page.records)
        for (const layout::LayoutRecord &record : *page.records)
            if (record.type == type)
                if (const auto *body = std::get_if<Body>(&record.body))
                    bodies.push_back(body);
    return bodies;
}

} // namespace

void ColorTable::add(int32_t color)
{
    indices_.emplace(color & 0xFFFFFF, 0);
}

int ColorTable::index(int32_t color) const
{
    const auto found = indices_.find(color & 0xFFFFFF);
    if (found == indices_.end())
        return 0;
    return int(std::distance(indices_.begin(), found)) + 1;
}

void ColorTable::appendTo(std::string &out) const
{
    out += "{\\colortbl;";
    for (const auto &entry : indices_) {
        out += "\\red";
        appendNumber(out, entry.first & 0xFF);
        out += "\\green";
        appendNumber(out, (entry.first >> 8) & 0xFF);
        out += "\\blue";
        appendNumber(out, (entry.first >> 16) & 0xFF);
        out += ';';
    }
    out += "}\n";
}

RtfDocument::RtfDocument(std::string fontName, int codePage, ColorTable colors)
    : fontName_(std::move(fontName)), codePage_(codePage), colors_(std::move(colors))
{
}

void RtfDocument::appendHeader(std::string &out, const LayoutPage &firstPage) const
{
    out += "{\\rtf1\\ansi\\ansicpg";
    appendNumber(out, ansiCodePageFor(codePage_));
    out += "\\deff0\\uc1\n{\\fonttbl{\\f0\\froman\\fcharset";
    appendNumber(out, charsetForCodePage(codePage_));
    out += "\\fprq2 ";
    appendFontName(out, fontName_, codePage_);
    out += ";}}\n";
    colors_.appendTo(out);
    // Frames whose paragraphs have a style get a transparent background in LibreOffice; without
    // one they are opaque and hide the frames they overlap.
    out += "{\\stylesheet{\\s0\\f0 Normal;}}\n";
    out += "{\\*\\generator vornik;}\n\\paperw";
    appendNumber(out, pageTwips(firstPage.width));
    out += "\\paperh";
    appendNumber(out, pageTwips(firstPage.height));
    out += "\\margl0\\margr0\\margt0\\margb0\n";
}

void RtfDocument::appendTrailer(std::string &out) const
{
    out += "}\n";
}

void RtfDocument::appendSectionStart(std::string &out, const LayoutPage &page, int64_t topMargin) const
{
    const int64_t width = pageTwips(page.width), height = pageTwips(page.height);
    out += "\\sectd\\sbkpage\\pgwsxn";
    appendNumber(out, width);
    out += "\\pghsxn";
    appendNumber(out, height);
    out += "\\marglsxn0\\margrsxn0\\margtsxn";
    appendNumber(out, topMargin);
    out += "\\margbsxn0\\headery0\\footery0";
    if (width > height)
        out += "\\lndscpsxn";
    out += '\n';
}

void RtfDocument::appendCharacterFormat(std::string &out, const TextRecordBody &text) const
{
    out += "\\f0\\fs";
    appendNumber(out, toHalfPoints(text.textHeight));
    if (text.flags & layout::TextFlagBold)
        out += "\\b";
    if (text.flags & layout::TextFlagItalic)
        out += "\\i";
    out += "\\cf";
    appendNumber(out, colors_.index(text.color));
    out += ' ';
}

void RtfDocument::appendFrame(std::string &out, const TextRecordBody &text, int64_t pageWidth)
{
    const int64_t x = std::clamp<int64_t>(toTwips(text.x), 0, pageWidth - MinFrameTwips);
    // A merged block's width adds up the advances of all its lines, so it can be far wider than
    // the block; Writer would move a frame that sticks out of the page. Its lines are separated
    // explicitly, so a frame that ends at the page edge loses nothing.
    int64_t frame[3] = {x, std::max<int64_t>(toTwips(text.y), 0),
                        text.width > 0 ? std::clamp<int64_t>(toTwips(text.width), MinFrameTwips, pageWidth - x) : 0};
    if (std::equal(frame, frame + 3, lastFrame_))
        frame[0] += 1; // one twip keeps two frames at one spot from merging
    std::copy(frame, frame + 3, lastFrame_);
    out += "\\pard\\plain\\s0\\pvpg\\phpg\\posx";
    appendNumber(out, frame[0]);
    out += "\\posy";
    appendNumber(out, frame[1]);
    if (frame[2] > 0) {
        out += "\\absw";
        appendNumber(out, frame[2]);
    }
    out += "\\dxfrtext0\\dfrmtxtx0\\dfrmtxty0\\overlay";
    appendCharacterFormat(out, text);
    out += '{';
    appendRtfText(out, text.text, codePage_);
    out += "}\\par\n";
}

void RtfDocument::appendShapes(std::string &out, const LayoutPage &page)
{
    for (const auto *picture : bodiesOf<layout::PictureRecordBody>(page, RecordType::Picture))
        if (!appendPictureShape(out, *picture, page.width, page.height, shapeIds_))
            ++skippedPictures_;
    appendLines(out, page);
}

void RtfDocument::appendLines(std::string &out, const LayoutPage &page)
{
    const std::vector<const layout::ShapeRecordBody *> lines = bodiesOf<layout::ShapeRecordBody>(page, RecordType::Line);
    if (lines.empty())
        return;
    int visibleLines = 0, shapes = 0;
    for (const auto *line : lines) {
        const int count = lineShapeCount(*line, page.width, page.height);
        visibleLines += count > 0;
        shapes += count;
        if (visibleLines > PageLineLimit || shapes > PageLineShapeLimit)
            break;
    }
    if (visibleLines <= PageLineLimit && shapes <= PageLineShapeLimit &&
        lineShapesWritten_ + shapes <= DocumentLineShapeBudget) {
        for (const auto *line : lines)
            appendLineShapes(out, *line, page.width, page.height, shapeIds_);
        lineShapesWritten_ += shapes;
    } else if (!appendLinePicture(out, lines, page.width, page.height, shapeIds_)) {
        ++skippedLinePictures_;
    }
}

void RtfDocument::appendFlowParagraph(std::string &out, const TextRecordBody &text, bool first)
{
    const size_t feeds = leadingLineFeeds(text.text);
    out += "\\li";
    appendNumber(out, std::max<int64_t>(toTwips(text.x), 0));
    if (feeds > 0 && !first) {
        // Each leading line feed stands for one line pitch of the block (its height and a third).
        const int64_t pitch = int64_t(text.height) + text.height / 3;
        out += "\\sb";
        appendNumber(out, std::clamp<int64_t>(toTwips(pitch) * int64_t(std::min<size_t>(feeds, 1000)), 0, MaxPageTwips));
    }
    appendCharacterFormat(out, text);
    out += '{';
    appendRtfText(out, std::string_view(text.text).substr(feeds), codePage_);
    out += "}\\par\n";
}

void RtfDocument::appendPage(std::string &out, const LayoutPage &page, bool firstPage)
{
    std::vector<const TextRecordBody *> frames, flow;
    for (const auto *text : bodiesOf<TextRecordBody>(page, RecordType::Text))
        (isTextBox(*text) ? frames : flow).push_back(text);

    // Flowing text starts at its first record's top, which the top margin gives exactly.
    const int64_t topMargin =
        flow.empty() ? 0 : std::clamp<int64_t>(toTwips(flow.front()->y), 0, pageTwips(page.height) - MinPageTwips);
    if (!firstPage)
        out += "\\sect\n";
    appendSectionStart(out, page, topMargin);

    // Frames and shapes belong to the paragraph after them, which must lie on this page.
    for (const TextRecordBody *text : frames)
        appendFrame(out, *text, pageTwips(page.width));
    out += "\\pard\\plain";
    appendShapes(out, page);
    if (flow.empty()) {
        out += "\\fs2\\sl-20\\slmult0\\par\n"; // a tiny anchor that cannot spill onto another page
        return;
    }
    for (size_t i = 0; i < flow.size(); ++i) {
        if (i > 0)
            out += "\\pard\\plain";
        appendFlowParagraph(out, *flow[i], i == 0);
    }
}

} // namespace quarnel::writer
