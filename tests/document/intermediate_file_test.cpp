// The intermediate file: exact bytes for the layouts the converter writes, reading them back, and
// the rejection of damaged files (by the reader and by vornik, which must exit with 2).
#include "document/document_fixtures.h"
#include "layout/intermediate/intermediate_reader.h"
#include "layout/intermediate/intermediate_writer.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quarnel::testing {
namespace {

using layout::LayoutRecord;
using layout::RecordType;
using layout::intermediate::IntermediateReader;

std::string textBody(int32_t x, int32_t y, int32_t height, int32_t width, int32_t flags, int32_t color,
                     const std::string &text)
{
    return le32({x, y, color, flags, width, height, 0, height, 0x00080008, 0, 1, 0, int32_t(text.size()), 1}) + text;
}

struct ByteCase {
    const char *name;
    void (*build)(LayoutDocument &);
    std::string expected;
};

TEST(IntermediateFile, WritesTheExactBytesOfEachLayout)
{
    const ByteCase cases[] = {
        {"one empty page is 24 bytes", [](LayoutDocument &d) { d.addPage(2051, 2903); },
         le32({2051, 2903, 300, 0, 1, 0})},
        {"one text record of 5 bytes adds 8 + 56 + 5",
         [](LayoutDocument &d) { d.addPage(2051, 3483).records->push_back(textRecord(10, 20, "Hello", 0x80, 41, 300, 0xFF)); },
         le32({2051, 3483, 300, 1, 1, 0}) + le32({1, 1}) + textBody(10, 20, 41, 300, 0x80, 0xFF, "Hello")},
        {"empty slots after the last record add 8 bytes each",
         [](LayoutDocument &d) {
             auto &page = d.addPage(100, 200);
             page.records->push_back(lineRecord(5, 6, -3, 4, 2, 0x123456, 1));
             page.records->resize(3);
         },
         le32({100, 200, 300, 3, 1, 0}) + le32({4, 1, 5, 6, -3, 4, 2, 0x123456, 1}) + le32({0, 0, 0, 0})},
        {"next flags over three pages, the last one never laid out",
         [](LayoutDocument &d) {
             d.addPage(100, 200);
             d.addPage(300, 400);
             d.addUnbuiltPage();
         },
         le32({100, 200, 300, 0, 1, 1}) + le32({300, 400, 300, 0, 1, 1}) + le32({2480, 3508, 300, 0, 0, 0})},
        {"a picture's data follows its body",
         [](LayoutDocument &d) { d.addPage(10, 10).records->push_back(pictureRecord(1, 2, 3, 4, 1, 1, 0x0A0B0C)); },
         le32({10, 10, 300, 1, 1, 0}) + le32({2, 1, 1, 2, 3, 3, 4, 44, 1}) + le32({40, 1, 1, 0x00200001, 0, 0, 0, 0, 0, 0}) +
             std::string("\x0C\x0B\x0A\x00", 4)},
        {"slots that lost their body get a fresh body and no data",
         [](LayoutDocument &d) {
             auto &page = d.addPage(10, 10);
             page.records->push_back(LayoutRecord{RecordType::Text, {}});
             page.records->push_back(LayoutRecord{RecordType::Picture, {}});
             page.records->push_back(LayoutRecord{RecordType::Line, {}});
         },
         le32({10, 10, 300, 3, 1, 0}) + le32({1, 0}) + textBody(0, 0, 0, 0, 0, 0, "").replace(28, 4, le32({48})) +
             le32({2, 0, 0, 0, 1, 0, 0, 0, 1}) + le32({4, 0, 0, 0, 0, 0, 1, 0, 0})},
    };
    TempDir dir;
    for (const ByteCase &c : cases) {
        SCOPED_TRACE(c.name);
        LayoutDocument document;
        c.build(document);
        writeIntermediate(document, dir.file("case.tmp"));
        EXPECT_EQ(readFile(dir.file("case.tmp")), c.expected);
    }
}

TEST(IntermediateFile, ReadsBackWhatWasWritten)
{
    LayoutDocument document;
    auto &first = document.addPage(2051, 2903);
    first.records->push_back(pictureRecord(7, 8, 90, 60, 3, 2, 0x112233));
    first.records->push_back(lineRecord(10, 10, -5, -5, 1, 0xFF0000, 1));
    first.records->push_back(textRecord(30, 40, "\n\nA\xE9\nb", 0x80 | 0x100 | 0x200, 33, 123, 0x00FF00));
    first.records->emplace_back();
    document.addUnbuiltPage();
    document.addPage(4103, 5807);
    TempDir dir;
    writeIntermediate(document, dir.file("doc.tmp"));

    IntermediateReader reader;
    ASSERT_TRUE(reader.openFile(dir.file("doc.tmp")));
    layout::LayoutPage page;
    ASSERT_EQ(reader.readPage(page), IntermediateReader::Status::Page);
    EXPECT_EQ(page.width, 2051);
    ASSERT_EQ(page.recordCount(), 4);
    const auto &picture = std::get<layout::PictureRecordBody>((*page.records)[0].body);
    EXPECT_EQ(picture.data, std::get<layout::PictureRecordBody>((*first.records)[0].body).data);
    EXPECT_EQ(picture.pictureKind, 3);
    EXPECT_EQ(picture.height, 60);
    const auto &line = std::get<layout::ShapeRecordBody>((*page.records)[1].body);
    EXPECT_EQ(line.dx, -5);
    EXPECT_EQ(line.penStyle, 1);
    const auto &text = std::get<layout::TextRecordBody>((*page.records)[2].body);
    EXPECT_EQ(text.text, "\n\nA\xE9\nb");
    EXPECT_EQ(text.flags, 0x380);
    EXPECT_EQ(text.color, 0x00FF00);
    EXPECT_EQ(text.textHeight, 33);
    EXPECT_EQ((*page.records)[3].type, RecordType::Empty);

    ASSERT_EQ(reader.readPage(page), IntermediateReader::Status::Page);
    EXPECT_FALSE(page.records.has_value());
    EXPECT_EQ(page.height, 3508);
    ASSERT_EQ(reader.readPage(page), IntermediateReader::Status::Page);
    EXPECT_EQ(page.width, 4103);
    EXPECT_EQ(page.recordCount(), 0);
    EXPECT_EQ(reader.readPage(page), IntermediateReader::Status::End);
    EXPECT_EQ(reader.pagesRead(), 3);
}

struct DamagedCase {
    const char *name;
    std::string bytes;
    const char *message; // part of the reader's error
};

TEST(IntermediateFile, RejectsDamagedFilesWithOneLineAndExitCode2)
{
    const std::string page = le32({100, 100, 300, 1, 1, 0});
    const std::string text = le32({1, 1}) + textBody(0, 0, 10, 10, 0, 0, "abc");
    const DamagedCase cases[] = {
        {"empty file", "", "empty file"},
        {"truncated page block", page.substr(0, 10), "truncated page block"},
        {"negative record count", le32({100, 100, 300, -1, 1, 0}), "negative record count"},
        {"record count beyond any page", le32({100, 100, 300, 0x7FFFFFFF, 1, 0}) + le32({0, 0}), "more than any page"},
        {"record count beyond the file", le32({100, 100, 300, 1000, 1, 0}) + le32({0, 0}), "claims 1000 records"},
        {"truncated text body", page + text.substr(0, 40), "truncated text record"},
        {"text length beyond the file", page + text.substr(0, 8 + 48) + le32({0x7FFFFFF0, 1}), "text length"},
        {"picture data beyond the file", page + le32({2, 1, 0, 0, 3, 10, 10, 0x7FFFFFFF, 1}), "picture data length"},
        {"truncated line body", page + le32({4, 1, 1, 2}), "truncated line record"},
        {"another page announced, none follows", le32({100, 100, 300, 0, 1, 1}), "announces another page"},
        {"bytes after the last page", le32({100, 100, 300, 0, 1, 0}) + "xyz", "unexpected bytes"},
    };
    TempDir dir;
    for (const DamagedCase &c : cases) {
        SCOPED_TRACE(c.name);
        IntermediateReader reader;
        const auto *data = reinterpret_cast<const uint8_t *>(c.bytes.data());
        if (reader.openMemory(data, c.bytes.size())) {
            layout::LayoutPage read;
            IntermediateReader::Status status;
            while ((status = reader.readPage(read)) == IntermediateReader::Status::Page) {
            }
            EXPECT_EQ(status, IntermediateReader::Status::Error);
        }
        EXPECT_NE(reader.error().find(c.message), std::string::npos) << reader.error();

        writeFile(dir.file("bad.tmp"), c.bytes);
        writeFile(dir.file("out.doc"), "the user's old document");
        const ProgramRun run = runProgram({vornikPath(), dir.file("bad.tmp"), dir.file("out.doc")});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.errorOutput.rfind("vornik: ", 0), 0u) << run.errorOutput;
        EXPECT_EQ(std::count(run.errorOutput.begin(), run.errorOutput.end(), '\n'), 1) << run.errorOutput;
        EXPECT_EQ(readFile(dir.file("out.doc")), "the user's old document");
    }
}

} // namespace
} // namespace quarnel::testing
