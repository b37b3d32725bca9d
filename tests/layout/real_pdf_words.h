#pragma once
// Words of real PDF pages, for checking that laid-out text keeps them: the reference words come
// from pdftotext, and a page object can be built from them when the engine cannot capture.
#include <quarnel/pdf_engine.h>

#include <string>
#include <vector>

namespace quarnel::layout::testing {

// A word of `pdftotext -bbox` output: its box in points (y down) and its UTF-8 text.
struct BboxWord {
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    std::string text;
};

// True when a pdftotext program can be run.
bool havePdftotext();

// The words of one page (1-based) of `pdfPath`; empty when pdftotext fails.
std::vector<BboxWord> pdftotextWords(const std::string &pdfPath, int page, const std::string &workDirectory);

// A page object with one text element per character of the words, spread evenly over each
// word's box, as a capture at 72 dpi would record them. Owned by the caller
// (page_model::destroyPageObject).
PageObject *pageObjectFromWords(const std::vector<BboxWord> &words, int32_t width, int32_t height);

// Words split at white space, with each punctuation mark a token of its own: whether a space
// stands next to a bracket or a comma is a matter of taste, a letter more or less in a word is not.
std::vector<std::u16string> tokensOf(const std::u16string &text);

// How many tokens of `words` occur in `text`, each occurrence matched once; `total` receives the
// number of tokens of `words`.
size_t tokensFound(const std::vector<BboxWord> &words, const std::u16string &text, size_t &total);

} // namespace quarnel::layout::testing
