/*
 * quarnel PDF engine: the exported C interface of libquarnel.so.
 *
 * Open a PDF, count its pages and capture each page as a page object: the page size and the
 * ordered list of what the page draws (characters, images, line segments, filled polygons and
 * clip regions).
 *
 * Conventions for everything below:
 *   - Coordinates are signed 32-bit device pixels at the resolution R given to PDF_Open (one
 *     pixel is 72/R points). The origin is the top-left corner of the page as displayed (crop box,
 *     turned by the page's /Rotate); x grows to the right, y grows downward. Element coordinates
 *     are not clipped to the page unless an element says so.
 *   - Colours are 0x00BBGGRR (red in the low byte).
 *   - Text angles are tenths of a degree, counter-clockwise, 0..3599.
 *   - Strings crossing the interface (paths, passwords, face names) are 8-bit, in the active code
 *     page of the process; page text is UTF-16.
 *   - No function throws, prints or shows anything; failure is reported by the return value only.
 *   - The engine keeps process-wide state: call it from one thread at a time.
 *
 * The header compiles as C99 and as C++.
 */
#ifndef QUARNEL_PDF_ENGINE_H
#define QUARNEL_PDF_ENGINE_H

#include <stdint.h>

#if defined(QUARNEL_ENGINE_BUILD)
#define QUARNEL_API __attribute__((visibility("default")))
#else
#define QUARNEL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Page object model ------------------------------------------------------------------- */

typedef enum PageElementKind {
    ElementText = 0,    /* body: PageText */
    ElementImage = 1,   /* body: PageImage */
    ElementLine = 2,    /* body: PageLine */
    ElementPolygon = 3, /* body: PagePolygon */
    ElementRegion = 4   /* body: PageRegion, or NULL when no clip region is in effect */
} PageElementKind;

/* One drawn character. */
typedef struct PageText {
    int32_t x;           /* glyph origin on the baseline */
    int32_t y;
    uint16_t *text;      /* UTF-16 code units, exactly `count` of them, no terminator required */
    int32_t count;       /* at least 1; a lone U+FB01 is stored as "fi" with count 2 */
    char *fontName;      /* face chosen for the character; may start with '@' (vertical); may be "" */
    int32_t advance;     /* horizontal advance in pixels, truncated; 0 or negative when vertical */
    int32_t fontHeight;  /* em height in pixels, truncated */
    int32_t bold;        /* 0 regular, 262144 from the ForceBold flag only, 1 from the name */
    int32_t italic;      /* 0 upright, 64 from the Italic flag only, 1 from the name or a slant */
    int32_t orientation; /* baseline angle, tenths of a degree, 0..3599 */
    uint32_t color;      /* fill colour, 0x00BBGGRR */
    uint8_t marker;      /* always 0 when captured */
} PageText;

/* The 40-byte Windows BITMAPINFOHEADER. */
typedef struct BitmapInfoHeader {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight; /* positive: rows are stored bottom-up */
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
} BitmapInfoHeader;

typedef struct RgbQuad {
    uint8_t blue;
    uint8_t green;
    uint8_t red;
    uint8_t reserved;
} RgbQuad;

/* One image or image mask, as a 32-bit bottom-up bitmap stretched over a page rectangle. */
typedef struct PageImage {
    BitmapInfoHeader header; /* biSize 40, biPlanes 1, biBitCount 32, other fields 0 */
    RgbQuad colorTable[256]; /* entry 0 white, entry 1 black, others zero; unused for 32 bits */
    int32_t destX;           /* rectangle the image occupies, inside the page */
    int32_t destY;
    int32_t destWidth;       /* at least 1 */
    int32_t destHeight;      /* at least 1 */
    uint8_t *pixels;         /* biHeight rows of biWidth pixels: blue, green, red, 0 */
    int32_t pixelBytes;      /* biWidth * biHeight * 4 */
} PageImage;

/* One line segment of a stroke, a link border or a fill outline. */
typedef struct PageLine {
    int32_t x1; /* each x within [-W, 2W], each y within [-H, 2H] of the page size */
    int32_t y1;
    int32_t x2;
    int32_t y2;
    int32_t width; /* pen width in pixels, at least 1 */
    uint32_t color;
    int32_t style; /* 0 solid, 1 dashed */
} PageLine;

typedef struct PagePoint {
    int32_t x;
    int32_t y;
} PagePoint;

/* The subpaths of one fill, joined through the first point; implicitly closed. */
typedef struct PagePolygon {
    PagePoint *points;
    int32_t pointCount;
    int32_t fillRule; /* 1 even-odd, 2 nonzero winding */
    uint32_t color;
} PagePolygon;

/* A clip region as a Windows region data block: a 32-byte header (dwSize 32, iType 1, nCount,
 * nRgnSize, bounding rectangle) followed by nCount rectangles (left, top, right, bottom), each
 * excluding its right and bottom edges. It applies to the elements that follow it. */
typedef struct PageRegion {
    uint8_t *regionData;
    int32_t regionSize;
} PageRegion;

typedef struct PageElement {
    int32_t kind; /* a PageElementKind */
    void *body;   /* owned by the element */
} PageElement;

/* One captured page. Owned by the caller of PDF_GetPageObject and released only through
 * PDF_DestroyPageObject; it refers to nothing of the document and outlives PDF_Close. */
typedef struct PageObject {
    int32_t width;      /* page size in pixels at `resolution`, rounded */
    int32_t height;
    int32_t pageNumber; /* 1-based */
    int32_t pageCount;
    int32_t resolution; /* R, dots per inch */
    float pdfVersion;   /* from the file header, e.g. 1.4; 0 when the file has none */
    PageElement **elements; /* drawing order; the first one is the whole-page clip region */
    int32_t elementCount;
} PageObject;

/* ---- Engine handle ------------------------------------------------------------------------ */

typedef struct PdfHandle PdfHandle;

/* Opens the PDF at `path` with optional owner and user passwords (NULL or "" for none), to be
 * displayed at `resolution` dots per inch. Returns a new handle, or NULL when the path is NULL
 * or empty, the file cannot be read (a lower-case and an upper-case copy of the path are tried
 * too), it is damaged beyond repair, or it is encrypted and no right password was given.
 * Several handles may be open at once; they share the engine's global parameters. */
QUARNEL_API PdfHandle *PDF_Open(const char *path, const char *ownerPassword, const char *userPassword,
                                int resolution);

/* Closes the document and frees the handle. NULL and invalid handles are ignored. */
QUARNEL_API void PDF_Close(PdfHandle *handle);

/* Number of pages, or -1 for a NULL or invalid handle. */
QUARNEL_API int PDF_GetPageCount(PdfHandle *handle);

/* Captures page `page` (1-based) and returns a new page object owned by the caller, or NULL for
 * an invalid handle or a page outside 1..page count. */
QUARNEL_API PageObject *PDF_GetPageObject(PdfHandle *handle, int page);

/* Releases a page object and everything it owns. NULL is ignored. */
QUARNEL_API void PDF_DestroyPageObject(PageObject *pageObject);

#ifdef __cplusplus
}
#endif

#endif /* QUARNEL_PDF_ENGINE_H */
