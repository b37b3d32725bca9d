#include "layout/real_pdf_words.h"

#include "page_model/page_object_builder.h"
#include "platform/code_page.h"
#include "support/temp_dir.h"

#include <cctype>
#include <cstdlib>
#include <map>
#include <regex>

namespace quarnel::layout::testing {
namespace {

std::string unescapeXml(std::string text)
{
    static const std::pair<const char *, const char *> entities[] = {{"&lt;", "<"},   {"&gt;", ">"},  {"&quot;", "\""},
                                                                     {"&apos;", "'"}, {"&#39;", "'"}, {"&amp;", "&"}};
    for (const auto &[entity, replacement] : entities)
        for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1))
            text.replace(at, std::char_traits<char>::length(entity), replacement);
    return text;
}

std::string quoted(const std::string &path)
{
    std::string result = "'";
    for (char c : path)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

// Characters of a UTF-16 string, keeping surrogate pairs together.
std::vector<std::u16string> charactersOf(const std::u16string &text)
{
    std::vector<std::u16string> characters;
    for (size_t i = 0; i < text.size();) {
        const size_t units = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() ? 2 : 1;
        characters.push_back(text.substr(i, units));
        i += units;
    }
    return characters;
}

// Where pdftotext and a layout may disagree about a space without either losing a word: next to
// brackets, commas, quotes and the like.
bool isPunctuation(char16_t unit)
{
    if (unit < 0x80)
        return !std::isalnum(unit);
    return unit >= 0x2010 && unit <= 0x205E; // dashes, quotes, bullets and other general punctuation
}

} // namespace

bool havePdftotext()
{
    return std::system("command -v pdftotext >/dev/null 2>&1") == 0;
}

std::vector<BboxWord> pdftotextWords(const std::string &pdfPath, int page, const std::string &workDirectory)
{
    const std::string output = workDirectory + "bbox.html";
    const std::string command = "pdftotext -q -bbox -f " + std::to_string(page) + " -l " + std::to_string(page) + " " +
                                quoted(pdfPath) + " " + quoted(output);
    if (std::system(command.c_str()) != 0)
        return {};
    static const std::regex wordPattern(
        R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
    const std::string html = ::quarnel::testing::readFile(output);
    std::vector<BboxWord> words;
    for (std::sregex_iterator it(html.begin(), html.end(), wordPattern), end; it != end; ++it) {
        const std::smatch &m = *it;
        words.push_back({std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), unescapeXml(m[5])});
    }
    return words;
}

PageObject *pageObjectFromWords(const std::vector<BboxWord> &words, int32_t width, int32_t height)
{
    PageObject *page = page_model::createPageObject();
    page->width = width;
    page->height = height;
    page->resolution = 72;
    for (const BboxWord &word : words) {
        const auto characters = charactersOf(platform::codePageToUtf16(word.text, platform::CodePageUtf8));
        if (characters.empty())
            continue;
        const double boxHeight = word.yMax - word.yMin;
        const double characterWidth = (word.xMax - word.xMin) / static_cast<double>(characters.size());
        // The box spans ascent and descent; the baseline sits about a fifth of it above the bottom.
        const auto baseline = static_cast<int32_t>(word.yMax - 0.2 * boxHeight);
        for (size_t i = 0; i < characters.size(); ++i) {
            PageText *text =
                page_model::newPageText(static_cast<int32_t>(word.xMin + characterWidth * static_cast<double>(i)),
                                        baseline, characters[i], "Times New Roman");
            text->advance = static_cast<int32_t>(characterWidth);
            text->fontHeight = static_cast<int32_t>(boxHeight + 0.5);
            page_model::appendElement(page, ElementText, text);
        }
    }
    return page;
}

std::vector<std::u16string> tokensOf(const std::u16string &text)
{
    std::vector<std::u16string> tokens;
    std::u16string token;
    const auto flush = [&] {
        if (!token.empty())
            tokens.push_back(token);
        token.clear();
    };
    for (char16_t unit : text) {
        if (unit == u' ' || unit == u'\n' || unit == u'\t') {
            flush();
        } else if (isPunctuation(unit)) {
            flush();
            tokens.push_back(std::u16string(1, unit));
        } else {
            token += unit;
        }
    }
    flush();
    return tokens;
}

size_t tokensFound(const std::vector<BboxWord> &words, const std::u16string &text, size_t &total)
{
    std::map<std::u16string, int> available;
    for (const std::u16string &token : tokensOf(text))
        ++available[token];
    size_t found = 0;
    total = 0;
    for (const BboxWord &word : words) {
        for (const std::u16string &token : tokensOf(platform::codePageToUtf16(word.text, platform::CodePageUtf8))) {
            ++total;
            auto it = available.find(token);
            if (it != available.end() && it->second > 0) {
                --it->second;
                ++found;
            }
        }
    }
    return found;
}

} // namespace quarnel::layout::testing
