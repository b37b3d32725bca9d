#include "platform/exe_path.h"
#include "platform/path_parts.h"

#include <gtest/gtest.h>

namespace quarnel::platform {
namespace {

TEST(PathParts, SplitsAndRebuilds)
{
    struct Case {
        const char *path, *directory, *name, *extension;
    };
    const Case cases[] = {
        {"/home/ann/report.pdf", "/home/ann/", "report", ".pdf"},
        {"report.PDF", "", "report", ".PDF"},
        {"/a.b/report", "/a.b/", "report", ""},
        {"/tmp/archive.tar.gz", "/tmp/", "archive.tar", ".gz"},
        {"/home/ann/.profile", "/home/ann/", ".profile", ""},
        {"/dir/", "/dir/", "", ""},
        {"/home/my files/a b.pdf", "/home/my files/", "a b", ".pdf"},
    };
    for (const Case &c : cases) {
        const PathParts parts = splitPath(c.path);
        EXPECT_EQ(parts.directory, c.directory) << c.path;
        EXPECT_EQ(parts.name, c.name) << c.path;
        EXPECT_EQ(parts.extension, c.extension) << c.path;
        EXPECT_EQ(joinPath(parts), c.path);
    }
}

TEST(PathParts, ReplacesOrAddsTheExtension)
{
    EXPECT_EQ(replaceExtension("/out/x.pdf", ".doc"), "/out/x.doc");
    EXPECT_EQ(replaceExtension("/out/report", ".tmp"), "/out/report.tmp");
    EXPECT_EQ(replaceExtension("/out.d/report", ".doc"), "/out.d/report.doc");
    EXPECT_EQ(withTrailingSlash("/a"), "/a/");
    EXPECT_EQ(withTrailingSlash("/a/"), "/a/");
}

TEST(ExecutablePath, DirectoryEndsInSlashAndHoldsTheBinary)
{
    const std::string directory = executableDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(directory.back(), '/');
    EXPECT_EQ(executablePath().rfind(directory, 0), 0u);

    setExecutableDirectoryForTesting("/somewhere/else");
    EXPECT_EQ(executableDirectory(), "/somewhere/else/");
    setExecutableDirectoryForTesting("");
    EXPECT_EQ(executableDirectory(), directory);
}

} // namespace
} // namespace quarnel::platform
