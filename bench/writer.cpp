// Benchmark of the document writer: generates a large layout (300 pages of flowing text, 20
// pages that each hold one 2480 x 3508 picture, 100 pages of 5000 flattened-curve lines each),
// streams it into intermediate files, runs vornik on each and prints its wall time and peak
// memory (the child's maximum resident set).
//
// usage: writer_bench [WORK_DIR]   (default: a folder under /tmp, removed afterwards)
#include "layout/intermediate/intermediate_writer.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using quarnel::layout::LayoutPage;
using quarnel::layout::LayoutRecord;
using quarnel::layout::RecordType;

LayoutRecord textRecord(int32_t y, int index)
{
    quarnel::layout::TextRecordBody body;
    body.x = 120 + (index % 3) * 20;
    body.y = y;
    body.width = 1800;
    body.height = body.textHeight = 38;
    body.flags = index % 7 == 0 ? quarnel::layout::TextFlagBold : 0;
    body.text = "Line " + std::to_string(index) + ": the quick brown fox jumps over the lazy dog, 0123456789.";
    return LayoutRecord{RecordType::Text, std::move(body)};
}

void fillTextPage(LayoutPage &page, int pageIndex)
{
    page.width = 2051;
    page.height = 3483;
    page.records.emplace();
    for (int line = 0; line < 60; ++line)
        page.records->push_back(textRecord(150 + line * 52, pageIndex * 60 + line));
}

// A scanned-looking page: smooth shading with some texture, so PNG has real work to do.
void fillPicturePage(LayoutPage &page, int pageIndex)
{
    constexpr int32_t Width = 2480, Height = 3508;
    page.width = 2051;
    page.height = 2903;
    quarnel::layout::PictureRecordBody body;
    body.pictureKind = 3;
    body.width = 2051;
    body.height = 2903;
    body.data.resize(40 + size_t(Width) * Height * 4);
    const int32_t header[] = {40, Width, Height, 0x00200001, 0, 0, 0, 0, 0, 0};
    std::memcpy(body.data.data(), header, sizeof header);
    uint32_t noise = 12345u + uint32_t(pageIndex);
    uint8_t *pixel = body.data.data() + 40;
    for (int32_t y = 0; y < Height; ++y)
        for (int32_t x = 0; x < Width; ++x, pixel += 4) {
            noise = noise * 1103515245u + 12345u;
            const int grain = int(noise >> 28);
            pixel[0] = uint8_t((x / 10 + grain) & 0xFF);
            pixel[1] = uint8_t((y / 14 + grain) & 0xFF);
            pixel[2] = uint8_t(((x + y) / 24) & 0xFF);
            pixel[3] = 0;
        }
    page.records.emplace();
    page.records->push_back(LayoutRecord{RecordType::Picture, std::move(body)});
}

// A plotted page: 5000 short lines tracing curves, every fifth curve dashed, in a few colours.
void fillLinePage(LayoutPage &page, int pageIndex)
{
    page.width = 2051;
    page.height = 2903;
    page.records.emplace();
    for (int curve = 0; curve < 50; ++curve)
        for (int step = 0; step < 100; ++step) {
            LayoutRecord &record = page.records->emplace_back();
            record.type = RecordType::Line;
            auto &body = record.body.emplace<quarnel::layout::ShapeRecordBody>();
            body.x = 100 + step * 18;
            body.y = 200 + curve * 50 + ((step * 7 + curve * 13 + pageIndex) % 40);
            body.dx = 18;
            body.dy = ((step * 3 + curve) % 11) - 5;
            body.penWidth = 1 + curve % 4;
            body.color = (curve % 3) * 0x7F;
            body.penStyle = curve % 5 == 0 ? 1 : 0;
        }
}

// Streams the pages as the converter does: one page in memory at a time.
bool writeLayout(const std::string &path, int pages, void (*fill)(LayoutPage &, int))
{
    quarnel::layout::intermediate::IntermediateWriter writer;
    if (!writer.open(path))
        return false;
    for (int i = 0; i < pages; ++i) {
        LayoutPage page;
        fill(page, i);
        writer.writePage(page, i + 1 < pages);
    }
    return writer.close();
}

void runWriter(const std::string &vornik, const std::string &input, const std::string &output, const char *label)
{
    char *argv[] = {const_cast<char *>(vornik.c_str()), const_cast<char *>(input.c_str()),
                    const_cast<char *>(output.c_str()), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", vornik.c_str());
        return;
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-28s exit %d  %7.2f s  peak %7.1f MiB  input %8.1f MiB  document %8.1f MiB\n", label,
                WIFEXITED(status) ? WEXITSTATUS(status) : -1, seconds, double(usage.ru_maxrss) / 1024.0,
                double(std::filesystem::file_size(input)) / (1 << 20),
                double(std::filesystem::file_size(output)) / (1 << 20));
}

} // namespace

int main(int argc, char **argv)
{
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string vornik = self.substr(0, self.rfind('/') + 1) + "vornik";
    char pattern[] = "/tmp/writer-bench-XXXXXX";
    const bool ownDir = argc < 2;
    const std::string dir = (ownDir ? std::string(::mkdtemp(pattern)) : std::string(argv[1])) + "/";

    if (writeLayout(dir + "text.tmp", 300, fillTextPage))
        runWriter(vornik, dir + "text.tmp", dir + "text.doc", "300 text pages");
    if (writeLayout(dir + "pictures.tmp", 20, fillPicturePage))
        runWriter(vornik, dir + "pictures.tmp", dir + "pictures.doc", "20 pages, 2480x3508 picture");
    if (writeLayout(dir + "lines.tmp", 100, fillLinePage))
        runWriter(vornik, dir + "lines.tmp", dir + "lines.doc", "100 pages, 5000 lines each");
    if (ownDir)
        std::filesystem::remove_all(dir);
    return 0;
}
