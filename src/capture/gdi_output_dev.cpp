#include "capture/gdi_output_dev.h"

#include "capture/engine_state.h"
#include "capture/font_mapping.h"
#include "capture/text_geometry.h"

#include <Dict.h>
#include <Error.h>
#include <GfxFont.h>
#include <GfxState.h>
#include <Object.h>
#include <TextOutputDev.h>
#include <UTF.h>
#include <XRef.h>

#include <cstdint>
#include <cstring>

namespace quarnel::capture {
namespace {

// Fonts given as direct dictionaries carry made-up references (generation 100000) that must not
// be fetched: the fetch fails and sets off a reconstruction of the cross-reference table.
constexpr int syntheticGeneration = 100000;

// The /WinCharSet of a composite font's CIDFont dictionary, or DEFAULT_CHARSET (1).
uint8_t readWinCharSet(XRef *xref, const GfxFont &font)
{
    const Ref *id = font.getID();
    if (!xref || !id || id->gen >= syntheticGeneration || id->num < 0)
        return 1;
    Object fontDict = xref->fetch(*id);
    if (!fontDict.isDict())
        return 1;
    Object value = fontDict.dictLookup("WinCharSet");
    if (!value.isInt()) {
        Object descendants = fontDict.dictLookup("DescendantFonts");
        if (descendants.isArray() && descendants.arrayGetLength() > 0) {
            Object cidFont = descendants.arrayGet(0);
            if (cidFont.isDict())
                value = cidFont.dictLookup("WinCharSet");
        }
    }
    return value.isInt() ? static_cast<uint8_t>(value.getInt()) : 1;
}

} // namespace

GdiOutputDev::GdiOutputDev() : text_(new TextPage(false)), actualText_(std::make_unique<ActualText>(text_)) {}

GdiOutputDev::~GdiOutputDev()
{
    actualText_.reset();
    text_->decRefCnt();
}

void GdiOutputDev::replaceClipRegion(platform::Region region)
{
    clip_ = std::move(region);
    clipRegion_ = clip_.regionData();
}

void GdiOutputDev::beginPrimitives() const
{
    if (!engineState().currentPageObject)
        engineState().surface.setDrawingClip(&clipRegion_);
}

void GdiOutputDev::endPrimitives() const
{
    engineState().surface.setDrawingClip(nullptr);
}

void GdiOutputDev::startPage(int, GfxState *state, XRef *xref)
{
    if (xref != xref_)
        fontInfos_.clear(); // references name objects of one document only
    xref_ = xref;
    if (state) {
        pixmapWidth_ = roundToInt32(state->getPageWidth());
        pixmapHeight_ = roundToInt32(state->getPageHeight());
    }
    engineState().fontNames.resolveConfigPath();
    savedClips_.clear();
    transparencyGroups_.clear();
    softMaskGroups_ = 0;
    // The platform keeps region sizes in 16 bits.
    replaceClipRegion(platform::Region::fromRectangle(
        {0, 0, static_cast<uint16_t>(pixmapWidth_), static_cast<uint16_t>(pixmapHeight_)}));
    engineState().surface.setClipRegion(&clipRegion_);
    font_.reset();
    hasFontEntry_ = false;
    normalizedName_ = "Courier";
    selectedValid_ = false;
    boldFromName_ = italicFromName_ = false;
    markedContent_.clear();
    verticalMarkedContent_ = 0;
    inReplacement_ = false;
    if (state)
        text_->startPage(state);
    textCoalesced_ = false;
}

void GdiOutputDev::endPage()
{
    text_->endPage();
    // Words are coalesced when the text export asks for them (textPage()): capture alone never
    // reads them.
}

TextPage *GdiOutputDev::textPage()
{
    if (!textCoalesced_) {
        text_->coalesce(false, 0, false); // reading order, as pdftotext without -layout
        textCoalesced_ = true;
    }
    return text_;
}

void GdiOutputDev::saveState(GfxState *)
{
    savedClips_.push_back(clip_);
    engineState().surface.setClipRegion(&clipRegion_);
}

void GdiOutputDev::restoreState(GfxState *state)
{
    if (!savedClips_.empty()) {
        replaceClipRegion(std::move(savedClips_.back()));
        savedClips_.pop_back();
        engineState().surface.setClipRegion(&clipRegion_);
    }
    if (state) {
        updateFlatness(state);
        // A restore may bring back another font without an updateFont call.
        if (state->getFont() != font_)
            updateFont(state);
        else
            text_->updateFont(state);
    }
}

void GdiOutputDev::updateFlatness(GfxState *state)
{
    flatness_ = state->getFlatness();
}

GdiOutputDev::FontInfo GdiOutputDev::describeFont(const GfxFont &font)
{
    if (!font.isCIDFont())
        return FontInfo{true, 1};
    const Ref *id = font.getID();
    const std::pair<int, int> key = id ? std::pair{id->num, id->gen} : std::pair{0, -1};
    const auto known = fontInfos_.find(key);
    if (known != fontInfos_.end())
        return known->second;
    FontInfo info;
    const GooString *collection = static_cast<const GfxCIDFont &>(font).getCollection();
    info.cached = collection && engineState().displayFontCollections.count(collection->toStr()) > 0;
    if (!info.cached)
        error(errSyntaxError, -1, "Couldn't find a font for the '{0:s}' character collection",
              collection ? collection->c_str() : "");
    info.charSet = readWinCharSet(xref_, font);
    fontInfos_.emplace(key, info);
    return info;
}

void GdiOutputDev::updateFont(GfxState *state)
{
    font_ = state->getFont();
    if (!font_) {
        hasFontEntry_ = false;
    } else {
        fontInfo_ = describeFont(*font_);
        hasFontEntry_ = fontInfo_.cached;
    }
    const std::optional<std::string> &name = font_ ? font_->getName() : std::optional<std::string>{};
    NormalizedFontName normalized = normalizeFontName(name && !name->empty() ? *name : "Courier");
    if (normalized.name != normalizedName_)
        selectedValid_ = false;
    normalizedName_ = std::move(normalized.name);
    boldFromName_ = normalized.boldFromName;
    italicFromName_ = normalized.italicFromName;
    text_->updateFont(state);
    if (font_ && font_->getType() == fontType3 && !type3Noticed_) {
        error(errSyntaxWarning, -1, "This document uses Type 3 fonts - some text may not be correctly displayed");
        type3Noticed_ = true;
    }
}

void GdiOutputDev::beginString(GfxState *state, const GooString *)
{
    text_->beginWord(state);
}

void GdiOutputDev::endString(GfxState *)
{
    text_->endWord();
}

void GdiOutputDev::beginActualText(GfxState *state, const GooString *text)
{
    actualText_->begin(state, text);
    Unicode *codePoints = nullptr;
    const int count = text ? TextStringToUCS4(text->toStr(), &codePoints) : 0;
    replacement_ = toUtf16(codePoints, count);
    gfree(codePoints);
    inReplacement_ = true;
    replacementRecorded_ = false;
}

void GdiOutputDev::endActualText(GfxState *state)
{
    actualText_->end(state);
    inReplacement_ = false;
}

void GdiOutputDev::beginMarkedContent(const char *name, Dict *properties)
{
    bool vertical = false;
    if (name && std::strcmp(name, "PointText") == 0 && properties) {
        const Object value = properties->lookup("Vertical");
        vertical = value.isBool() && value.getBool();
    }
    markedContent_.push_back(vertical);
    verticalMarkedContent_ += vertical ? 1 : 0;
}

// poppler reports the EMC of a BDC with a named property list without having reported its
// begin, so an end may find nothing of ours open; it is ignored then.
void GdiOutputDev::endMarkedContent(GfxState *)
{
    if (markedContent_.empty())
        return;
    verticalMarkedContent_ -= markedContent_.back() ? 1 : 0;
    markedContent_.pop_back();
}

} // namespace quarnel::capture
