#pragma once
// The rendering device: poppler's drawing calls become the primitives of the drawing surface,
// which record page elements while a capture target is set and draw into the page bitmap
// otherwise. It also feeds a text page, for the plain-text export.
#include "capture/path_conversion.h"
#include "platform/region.h"

#include <OutputDev.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class ActualText;
class AnnotLink;
class GfxFont;
class TextPage;
class XRef;

namespace quarnel::capture {

class GdiOutputDev : public OutputDev {
public:
    GdiOutputDev();
    ~GdiOutputDev() override;
    GdiOutputDev(const GdiOutputDev &) = delete;
    GdiOutputDev &operator=(const GdiOutputDev &) = delete;

    bool upsideDown() override { return true; }
    bool useDrawChar() override { return true; }
    // Type 3 characters arrive through drawChar and are recorded as text; their glyph
    // procedures are not run.
    bool interpretType3Chars() override { return false; }
    bool needNonText() override { return true; }

    void startPage(int pageNum, GfxState *state, XRef *xref) override;
    void endPage() override;

    void saveState(GfxState *state) override;
    void restoreState(GfxState *state) override;
    void updateFlatness(GfxState *state) override;
    void updateFont(GfxState *state) override;

    void stroke(GfxState *state) override;
    void fill(GfxState *state) override;
    void eoFill(GfxState *state) override;
    void clip(GfxState *state) override;
    void eoClip(GfxState *state) override;
    // Called once per link after the page is displayed: a link with a border gets four blue
    // lines around its rectangle.
    void processLink(AnnotLink *link) override;

    // Tiling patterns are drawn tile by tile by poppler; a pattern of more tiles than
    // MaxPatternTiles (a tiny cell over a large area) is left out instead of taking minutes.
    bool useTilingPatternFill() override { return true; }
    bool tilingPatternFill(GfxState *state, Gfx *gfx, Catalog *cat, GfxTilingPattern *tPat, const double *mat, int x0,
                           int y0, int x1, int y1, double xStep, double yStep) override;
    static constexpr int64_t MaxPatternTiles = 250000;

    // The content of a soft mask only says how much of what follows shows; it is not drawn.
    void beginTransparencyGroup(GfxState *state, const double *bbox, GfxColorSpace *blendingColorSpace, bool isolated,
                                bool knockout, bool forSoftMask) override;
    void endTransparencyGroup(GfxState *state) override;

    void beginString(GfxState *state, const GooString *s) override;
    void endString(GfxState *state) override;
    void drawChar(GfxState *state, double x, double y, double dx, double dy, double originX, double originY,
                  CharCode code, int nBytes, const Unicode *u, int uLen) override;

    // A span with /ActualText is recorded as that text, once, at its first visible character;
    // its other characters are dropped (an empty replacement drops them all).
    void beginActualText(GfxState *state, const GooString *text) override;
    void endActualText(GfxState *state) override;

    void beginMarkedContent(const char *name, Dict *properties) override;
    void endMarkedContent(GfxState *state) override;

    int pixmapWidth() const { return pixmapWidth_; }
    int pixmapHeight() const { return pixmapHeight_; }
    // The text of the last displayed page, words coalesced; owned by the device.
    TextPage *textPage();

protected:
    // The clip region of the drawing primitives, as a region data block.
    const std::vector<uint8_t> &clipRegion() const { return clipRegion_; }
    void replaceClipRegion(platform::Region region);
    PageSize pageSize() const { return {pixmapWidth_, pixmapHeight_}; }
    // True while the content of a soft mask is being run: nothing is drawn or recorded then.
    bool insideSoftMask() const { return softMaskGroups_ > 0; }
    // While drawing into the page bitmap (no capture target), the primitives between
    // beginPrimitives and endPrimitives are clipped to the clip region.
    void beginPrimitives() const;
    void endPrimitives() const;

private:
    struct FontInfo {
        bool cached = false; // an entry of the engine-side font cache exists
        uint8_t charSet = 1; // Windows character set
    };
    FontInfo describeFont(const GfxFont &font);
    void recordText(GfxState *state, int32_t x, int32_t y, int32_t advance, const Unicode *u, int uLen);

    int pixmapWidth_ = 0;
    int pixmapHeight_ = 0;
    XRef *xref_ = nullptr;
    int flatness_ = 1;

    void fillPath(GfxState *state, platform::PolygonFillMode mode);
    void clipPath(GfxState *state, platform::PolygonFillMode mode);

    std::vector<bool> transparencyGroups_; // per open group: whether it is a soft mask
    int softMaskGroups_ = 0;

    platform::Region clip_;
    std::vector<uint8_t> clipRegion_; // clip_ as a region data block
    std::vector<platform::Region> savedClips_;

    std::shared_ptr<GfxFont> font_;
    FontInfo fontInfo_;
    std::string normalizedName_; // of font_, normalised once per font change
    bool boldFromName_ = false;
    bool italicFromName_ = false;
    bool hasFontEntry_ = false;
    // The face selected for normalizedName_, valid while the mapping table keeps its generation
    // and the installed-face list is not empty.
    std::string selectedFace_;
    unsigned selectedGeneration_ = 0;
    bool selectedValid_ = false;
    uint8_t lastCharSet_ = 0;                           // ANSI_CHARSET before any font
    std::map<std::pair<int, int>, FontInfo> fontInfos_; // by font reference
    bool type3Noticed_ = false;

    // One entry per open marked-content sequence: true when it is "PointText" with an inline
    // /Vertical true.
    std::vector<bool> markedContent_;
    int verticalMarkedContent_ = 0;

    TextPage *text_ = nullptr;
    std::unique_ptr<ActualText> actualText_; // feeds text_, honouring replacement spans
    bool textCoalesced_ = true;
    bool inReplacement_ = false;
    bool replacementRecorded_ = false;
    std::u16string replacement_;
};

} // namespace quarnel::capture
