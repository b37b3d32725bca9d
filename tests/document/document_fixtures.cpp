#include "document/document_fixtures.h"

#include "layout/intermediate/intermediate_writer.h"
#include "support/build_paths.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace quarnel::testing {

using layout::LayoutRecord;
using layout::RecordType;

LayoutRecord textRecord(int32_t x, int32_t y, std::string text, int32_t flags, int32_t height, int32_t width,
                        int32_t color)
{
    layout::TextRecordBody body;
    body.x = x;
    body.y = y;
    body.color = color;
    body.flags = flags;
    body.width = width;
    body.height = height;
    body.textHeight = height;
    body.text = std::move(text);
    return LayoutRecord{RecordType::Text, std::move(body)};
}

LayoutRecord pictureRecord(int32_t x, int32_t y, int32_t width, int32_t height, int32_t bitmapWidth,
                           int32_t bitmapHeight, uint32_t rgb)
{
    layout::PictureRecordBody body;
    body.x = x;
    body.y = y;
    body.pictureKind = 3;
    body.width = width;
    body.height = height;
    const std::string header = le32({40, bitmapWidth, bitmapHeight}) + std::string("\x01\x00\x20\x00", 4) +
                               le32({0, 0, 0, 0, 0, 0});
    body.data.assign(header.begin(), header.end());
    const size_t pixels = size_t(bitmapWidth) * size_t(bitmapHeight);
    body.data.reserve(body.data.size() + pixels * 4);
    for (size_t i = 0; i < pixels; ++i) {
        body.data.push_back(uint8_t(rgb));
        body.data.push_back(uint8_t(rgb >> 8));
        body.data.push_back(uint8_t(rgb >> 16));
        body.data.push_back(0);
    }
    return LayoutRecord{RecordType::Picture, std::move(body)};
}

LayoutRecord lineRecord(int32_t x, int32_t y, int32_t dx, int32_t dy, int32_t penWidth, int32_t color,
                        int32_t penStyle)
{
    return LayoutRecord{RecordType::Line, layout::ShapeRecordBody{x, y, dx, dy, penWidth, color, penStyle}};
}

layout::LayoutPage &LayoutDocument::nextPage()
{
    if (!tail_)
        return *(tail_ = &head_);
    tail_->next = std::make_unique<layout::LayoutPage>();
    tail_ = tail_->next.get();
    return *tail_;
}

layout::LayoutPage &LayoutDocument::addPage(int32_t width, int32_t height, std::vector<LayoutRecord> records)
{
    layout::LayoutPage &page = nextPage();
    page.width = width;
    page.height = height;
    page.records = std::move(records);
    return page;
}

layout::LayoutPage &LayoutDocument::addUnbuiltPage()
{
    return nextPage();
}

std::string le32(std::initializer_list<int32_t> fields)
{
    std::string bytes;
    for (int32_t field : fields)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(char(uint32_t(field) >> shift & 0xFF));
    return bytes;
}

ProgramRun runProgram(const std::vector<std::string> &argv, const std::vector<std::string> &environment)
{
    TempDir dir;
    const std::string errorPath = dir.file("stderr");
    // The extra entries replace inherited ones of the same name (getenv takes the first).
    std::vector<std::string> env = environment;
    for (char **entry = environ; *entry; ++entry) {
        const std::string inherited(*entry);
        const std::string name = inherited.substr(0, inherited.find('=') + 1);
        if (std::none_of(environment.begin(), environment.end(),
                         [&name](const std::string &extra) { return extra.rfind(name, 0) == 0; }))
            env.push_back(inherited);
    }
    std::vector<char *> envp, args;
    for (std::string &entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    for (const std::string &arg : argv)
        args.push_back(const_cast<char *>(arg.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    ProgramRun run;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data()) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.errorOutput = readFile(errorPath);
    return run;
}

std::string vornikPath()
{
    return binaryDirectory() + "vornik";
}

void writeIntermediate(const LayoutDocument &document, const std::string &path)
{
    ASSERT_TRUE(layout::intermediate::writeIntermediateFile(document.head(), path));
}

} // namespace quarnel::testing
