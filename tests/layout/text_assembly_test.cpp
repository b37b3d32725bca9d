#include "layout/page_layout.h"

#include "layout/page_fixture.h"
#include "layout/text_options.h"
#include "settings/setting_keys.h"
#include "support/settings_sandbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace quarnel::layout {
namespace {

using testing::PageFixture;

// Text-box mode on, everything else at its default, so that blocks stay apart and are easy to
// tell from each other.
constexpr TextOptions TextBoxes{.textBoxMode = true, .mergeRows = true};
constexpr TextOptions Flowing{}; // text boxes off: merge rows off, equal tops joined

std::vector<TextRecordBody> layOutText(const PageFixture &fixture, const TextOptions &options, float zoom = 1.0f)
{
    std::vector<LayoutRecord> slots(static_cast<size_t>(fixture.get()->elementCount));
    const auto rest = addTextRecords(slots, fixture.get(), zoom, options);
    std::vector<TextRecordBody> bodies;
    for (const LayoutRecord *body = slots.data(); body != rest.data(); ++body)
        bodies.push_back(std::get<TextRecordBody>(body->body));
    for (const LayoutRecord &slot : rest)
        EXPECT_EQ(slot.type, RecordType::Empty);
    return bodies;
}

std::vector<std::string> textsOf(const std::vector<TextRecordBody> &bodies)
{
    std::vector<std::string> texts;
    for (const TextRecordBody &body : bodies)
        texts.push_back(body.text);
    return texts;
}

TextOptions with(TextOptions options, void (*change)(TextOptions &))
{
    change(options);
    return options;
}

void threeLines(PageFixture &page, int32_t thirdX)
{
    page.word(50, 100, u"ab");
    page.word(50, 112, u"ab");
    page.word(thirdX, 124, u"ab");
}

struct Case {
    const char *name;
    void (*build)(PageFixture &);
    TextOptions options;
    std::vector<std::string> texts;
};

TEST(TextAssembly, CharactersSpacesAndBlocks)
{
    const Case cases[] = {
        {"simulated bold is written once",
         [](PageFixture &p) {
             p.text(10, 100, u"A");
             p.text(10, 100, u"A");
             p.text(16, 100, u"B");
         },
         TextBoxes,
         {"AB"}},
        {"simulated bold keeps a flowing word whole",
         [](PageFixture &p) {
             p.text(10, 100, u"A");
             p.text(10, 100, u"A");
             p.text(16, 100, u"B");
             p.text(16, 100, u"B");
         },
         Flowing,
         {"AB"}},
        {"gap of 2 at size 10 gets a space",
         [](PageFixture &p) {
             p.text(10, 100, u"A");
             p.text(18, 100, u"B");
         },
         TextBoxes,
         {"A B"}},
        {"no space without automatic spaces",
         [](PageFixture &p) {
             p.text(10, 100, u"A");
             p.text(18, 100, u"B");
         },
         with(TextBoxes, [](TextOptions &o) { o.autoSpace = false; }),
         {"AB"}},
        {"gap of 1 is not above 0.15 of 10",
         [](PageFixture &p) {
             p.text(10, 100, u"A");
             p.text(17, 100, u"B");
         },
         TextBoxes,
         {"AB"}},
        {"a one-pixel gap in small text is rounding, not a space",
         [](PageFixture &p) {
             p.text(10, 100, u"A", 6, 4);
             p.text(15, 100, u"B", 6, 4);
         },
         TextBoxes,
         {"AB"}},
        {"a two-pixel gap in small text is a space",
         [](PageFixture &p) {
             p.text(10, 100, u"A", 6, 4);
             p.text(16, 100, u"B", 6, 4);
         },
         TextBoxes,
         {"A B"}},
        {"a block right of the previous one starts with a space",
         [](PageFixture &p) {
             p.text(10, 100, u"A");
             p.text(200, 100, u"B");
         },
         TextBoxes,
         {"A", " B"}},
        {"character spacing 0 makes a block per character",
         [](PageFixture &p) { p.word(10, 100, u"AB"); },
         with(TextBoxes, [](TextOptions &o) { o.charSpacing = 0; }),
         {"A", "B"}},
        {"character spacing 0 without text boxes joins the row",
         [](PageFixture &p) { p.word(10, 100, u"AB"); },
         with(Flowing, [](TextOptions &o) { o.charSpacing = 0; }),
         {"A B"}},
        {"two columns of one row stay apart in text boxes",
         [](PageFixture &p) {
             p.word(10, 100, u"ab");
             p.word(300, 100, u"cd");
         },
         TextBoxes,
         {"ab", " cd"}},
        {"two columns of one row are joined without text boxes",
         [](PageFixture &p) {
             p.word(10, 100, u"ab");
             p.word(300, 100, u"cd");
         },
         Flowing,
         {"ab  cd"}},
        {"a row joined from right to left keeps the order made",
         [](PageFixture &p) {
             p.word(300, 100, u"cd");
             p.word(10, 100, u"ab");
         },
         Flowing,
         {"cd ab"}},
        {"three lines merge with line feeds", [](PageFixture &p) { threeLines(p, 50); }, TextBoxes, {"ab\nab\nab"}},
        {"deleted line breaks become spaces",
         [](PageFixture &p) { threeLines(p, 50); },
         with(TextBoxes, [](TextOptions &o) { o.deleteLineBreaks = true; }),
         {"ab ab ab"}},
        {"an indented line starts a new block", [](PageFixture &p) { threeLines(p, 51); }, TextBoxes, {"ab\nab", "ab"}},
        {"lines are not merged without merge rows",
         [](PageFixture &p) { threeLines(p, 50); },
         with(TextBoxes, [](TextOptions &o) { o.mergeRows = false; }),
         {"ab", "ab", "ab"}},
        {"a line in another style is not merged",
         [](PageFixture &p) {
             p.word(50, 100, u"ab");
             p.text(50, 112, u"c").bold = 1;
         },
         TextBoxes,
         {"ab", "c"}},
        {"a rotated character ends the block before it",
         [](PageFixture &p) {
             p.text(10, 100, u"A");
             p.text(16, 100, u"B").orientation = 900;
             p.text(22, 100, u"C");
         },
         TextBoxes,
         {"A", " C"}},
        {"a page without text has no text records",
         [](PageFixture &p) {
             p.region();
             p.line(1, 1, 5, 5);
         },
         TextBoxes,
         {}},
    };
    for (const Case &c : cases) {
        PageFixture page;
        c.build(page);
        EXPECT_EQ(textsOf(layOutText(page, c.options)), c.texts) << c.name;
    }
}

TEST(TextAssembly, CodePageConversion)
{
    struct Conversion {
        std::u16string text;
        int codePage;
        int language;
        std::string expected;
    };
    const Conversion cases[] = {
        {u"caf\u00e9", 1252, LanguageAuto, "caf\xE9"},
        {u"caf\u00e9", 1252, LanguageEnglish, "caf "},
        {u"caf\u00e9", 65001, LanguageAuto, "caf\xC3\xA9"},
        {u"caf\u00e9", 65001, LanguageEnglish, "caf "},
        {u"\u201Cq\u201D \u2018s\u2019", 936, LanguageAuto, "\"q\" 's'"}, // GB2312 curly quotes
        {u"\u201Cq", 65001, LanguageAuto, "\xE2\x80\x9Cq"},
        {u"\u4E2D", 936, LanguageAuto, "\xD6\xD0"},
        {u"\u4E2D", 936, LanguageEnglish, " "},
        {u"\u4E2D\u00e9", 1252, LanguageAuto, " \xE9"}, // missing in the code page: a space, not '?'
        {u"?\u013F", 1252, LanguageAuto, "? "},         // only a real question mark stays one
        {u"\U0001F600", 65001, LanguageAuto, "\xF0\x9F\x98\x80"},
        {u"\U0001F600", 1252, LanguageAuto, " "},
    };
    for (const Conversion &c : cases) {
        PageFixture page;
        // One element per character, each starting where the previous one ended.
        int32_t x = 10;
        for (size_t i = 0; i < c.text.size(); ++x) {
            const size_t units = c.text[i] >= 0xD800 && c.text[i] <= 0xDBFF ? 2 : 1;
            page.text(x, 100, std::u16string_view(c.text).substr(i, units), 10, 1);
            i += units;
        }
        const TextOptions options{.textBoxMode = true, .language = c.language, .codePage = c.codePage};
        EXPECT_EQ(textsOf(layOutText(page, options)), std::vector<std::string>{c.expected})
            << "code page " << c.codePage << " language " << c.language << " expected " << c.expected;
    }
}

TEST(TextAssembly, RecordFieldsComeFromTheBlock)
{
    PageFixture page;
    PageText &first = page.text(30, 200, u"a", 10, 5);
    first.color = 0x00FFFFFF; // white text would vanish on the page: it is written black
    first.bold = 262144;
    first.italic = 64;
    page.text(35, 200, u"b", 14, 7).color = 0x0000FF;
    page.text(30, 300, u"c", 12, 5).color = 0x0000FF;

    const auto bodies = layOutText(page, TextBoxes, 2.0f);
    ASSERT_EQ(bodies.size(), 2u);
    const TextRecordBody &ab = bodies[0];
    // Running height (10 + 14) / 2 = 12: x 30 + 4, top 200 - 18, width 5 + 7 + 10, all doubled.
    EXPECT_EQ(ab.x, 68);
    EXPECT_EQ(ab.y, 364);
    EXPECT_EQ(ab.width, 44);
    EXPECT_EQ(ab.height, 24);
    EXPECT_EQ(ab.textHeight, 24);
    EXPECT_EQ(ab.color, 0);
    EXPECT_EQ(ab.flags, TextFlagBold | TextFlagItalic | TextFlagTextBox);
    EXPECT_EQ(ab.reserved1, 0);
    EXPECT_EQ(ab.reserved2, 0x00080008);
    EXPECT_EQ(ab.reserved3, 0);
    EXPECT_EQ(ab.reserved4, 1);
    EXPECT_EQ(bodies[1].color, 0x0000FF);
    EXPECT_EQ(bodies[1].flags, TextFlagTextBox);
}

TEST(TextAssembly, LeadingLineFeedsStandForTheGapAbove)
{
    // Size 20 blocks have their top 30 above the baseline: tops 100 and 180, height 20, so the
    // second follows a gap of 60 = 2 lines of 20 + 20 / 3.
    const auto build = [](PageFixture &p) {
        p.text(10, 130, u"A", 20, 10);
        p.text(10, 210, u"B", 20, 10);
        p.text(10, 231, u"C", 20, 10); // directly below: top 201 is 1 below B's bottom
    };
    PageFixture flowing;
    build(flowing);
    const auto bodies = layOutText(flowing, Flowing);
    ASSERT_EQ(bodies.size(), 3u);
    EXPECT_EQ(bodies[0].y, 100);
    EXPECT_EQ(bodies[1].y, 180);
    EXPECT_EQ(textsOf(bodies), (std::vector<std::string>{"A", "\n\nB", "C"}));

    PageFixture boxed;
    build(boxed);
    EXPECT_EQ(textsOf(layOutText(boxed, with(TextBoxes, [](TextOptions &o) { o.mergeRows = false; }))),
              (std::vector<std::string>{"A", "B", "C"}));
}

TEST(TextAssembly, BadCharactersGiveSensibleTextOrNone)
{
    PageFixture page;
    page.text(10, 100, std::u16string_view(u"\0", 1));           // a NUL alone: nothing
    page.text(16, 100, std::u16string_view(u"\0x", 2));          // NUL inside: dropped
    page.text(22, 100, std::u16string(20, u'\u4E2D'));           // 60 bytes in UTF-8: cut
    page.text(28, 100, u"y").count = -3;                         // a corrupt count: no text
    page_model::appendElement(page.get(), ElementText, nullptr); // a text element without body
    page.text(34, 100, u"z", -10, -6);                           // negative size and advance
    page.text(INT32_MAX, INT32_MAX, u"w", INT32_MAX, INT32_MAX); // enormous everything
    page.text(INT32_MIN, INT32_MIN, u"v", INT32_MIN, INT32_MIN);

    const auto texts = textsOf(layOutText(page, with(TextBoxes, [](TextOptions &o) { o.codePage = 65001; })));
    const std::string cut = "\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD"; // 5 whole characters
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "x" + cut), 1);
    for (const std::string &text : texts)
        EXPECT_EQ(text.find('\0'), std::string::npos);
}

TEST(TextAssembly, OptionsAreReadPerPageWithTheirDependencies)
{
    namespace keys = settings::keys;
    struct Setting {
        int textBox, merge, deleteBreaks;
        bool mergeRows, deleteLineBreaks;
    };
    const Setting cases[] = {
        {0, 1, 1, false, false}, // merging needs text boxes
        {1, 1, 1, true, true},
        {1, 0, 1, false, false}, // deleting line breaks needs merging
    };
    for (const Setting &c : cases) {
        ::quarnel::testing::SettingsSandbox sandbox;
        settings::write(keys::UseTextBox, c.textBox);
        settings::write(keys::MergeRows, c.merge);
        settings::write(keys::DeleteLineBreaks, c.deleteBreaks);
        const TextOptions options = readTextOptions(936);
        EXPECT_EQ(options.mergeRows, c.mergeRows) << c.textBox << c.merge << c.deleteBreaks;
        EXPECT_EQ(options.deleteLineBreaks, c.deleteLineBreaks) << c.textBox << c.merge << c.deleteBreaks;
        EXPECT_EQ(options.codePage, 936);
    }

    ::quarnel::testing::SettingsSandbox sandbox;
    const TextOptions defaults = readTextOptions(1252);
    EXPECT_EQ(defaults.charSpacing, 100);
    EXPECT_FALSE(defaults.textBoxMode);
    EXPECT_TRUE(defaults.autoSpace);
    EXPECT_EQ(defaults.language, LanguageAuto);
    settings::write(keys::CharSpaces, 0);
    settings::write(keys::AutoSpace, 0);
    settings::write(keys::Language, 1);
    const TextOptions changed = readTextOptions(1252);
    EXPECT_EQ(changed.charSpacing, 0);
    EXPECT_FALSE(changed.autoSpace);
    EXPECT_EQ(changed.language, LanguageEnglish);
}

} // namespace
} // namespace quarnel::layout
