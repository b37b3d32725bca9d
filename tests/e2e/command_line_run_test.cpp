// quarnel as a program: exit codes, messages and files left behind, for the runs a script or a
// user on a server makes.
#include "document/e2e_support.h"
#include "support/build_paths.h"
#include "support/engine_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace quarnel::testing {
namespace {

struct ProgramRun {
    int exitCode = -1;
    std::string errors;
};

// Runs quarnel with its settings in `home`, standard input closed (no terminal to ask on).
ProgramRun runQuarnel(const TempDir &home, const std::string &arguments)
{
    ProgramRun run;
    run.errors = shellOutput("XDG_CONFIG_HOME=" + shellQuote(home.path()) + " " + binaryDirectory() + "quarnel " +
                                 arguments + " </dev/null 2>&1 >/dev/null",
                             &run.exitCode);
    return run;
}

size_t filesIn(const std::string &directory)
{
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(directory), {}));
}

TEST(QuarnelProgram, ExitCodesTellWhetherEveryDocumentWasWritten)
{
    TempDir home, dir;
    const std::string good = writePdf(dir, "good.pdf", simplePdf("BT /F1 24 Tf 72 700 Td (Hello) Tj ET"));
    const std::string damaged = writePdf(dir, "damaged.pdf", "%PDF-1.4\nnot really\n");
    const std::string q = shellQuote(dir.path());

    const ProgramRun ok = runQuarnel(home, "-q -m -r -i " + shellQuote(good) + " -o " + q + "out.rtf");
    EXPECT_EQ(ok.exitCode, 0) << ok.errors;
    EXPECT_TRUE(fileExists(dir.file("out.doc")));

    const ProgramRun bad = runQuarnel(home, "-q -r -i " + shellQuote(damaged));
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.errors.find("Can't extract the information from the '" + damaged + "' file"), std::string::npos);

    const ProgramRun missingFolder = runQuarnel(home, "-q -r -i " + shellQuote(good) + " -o " + q + "no/such/x.doc");
    EXPECT_EQ(missingFolder.exitCode, 2);
    EXPECT_NE(missingFolder.errors.find("Can't write the Word document"), std::string::npos);

    EXPECT_EQ(filesIn(dir.path()), 3u); // good.pdf, damaged.pdf, out.doc: nothing stray
}

TEST(QuarnelProgram, UsageErrorsExitWithOne)
{
    TempDir home;
    for (const char *arguments : {"", "-f abc -i x.pdf", "-h -i x.pdf", "-i"}) {
        const ProgramRun run = runQuarnel(home, arguments);
        EXPECT_EQ(run.exitCode, 1) << arguments;
        EXPECT_NE(run.errors.find("Usage: Quarnel [Option] <PDF File> [<RTF File>]"), std::string::npos);
    }
    EXPECT_FALSE(fileExists(home.path() + "quarnel/quarnel.INI")); // nothing stored
}

TEST(QuarnelProgram, AnExistingDocumentIsNotReplacedWithoutConsent)
{
    TempDir home, dir;
    const std::string source = writePdf(dir, "a.pdf", simplePdf("BT /F1 24 Tf 72 700 Td (New) Tj ET"));
    writeFile(dir.file("a.doc"), "the user's document");
    const ProgramRun run = runQuarnel(home, "-q -m -i " + shellQuote(source));
    EXPECT_EQ(run.exitCode, 2); // skipped: there is no terminal to ask on
    EXPECT_EQ(readFile(dir.file("a.doc")), "the user's document");
}

} // namespace
} // namespace quarnel::testing
