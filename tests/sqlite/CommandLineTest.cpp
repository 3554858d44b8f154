// The moru-db program itself, run as a user runs it: what it refuses, what it replaces, and that a
// refused or failed command leaves every file as it was.

#include "TestDatabase.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace moru::sqlite::testing {
namespace {

using dbtool::Json;

struct Outcome {
    int status = -1;
    std::string err;
};

class MoruDbCommandLine : public ::testing::Test {
protected:
    void SetUp() override
    {
        scratch.Write("source.json", RichSource().dump(1));
        Build(RichSource(), scratch.File("a.db"));
        scratch.Write("keep.txt", "notes to keep\n");
    }

    // Runs moru-db with `arguments` in the scratch directory.
    Outcome MoruDb(const std::string& arguments) const
    {
        const std::string command = "cd '" + scratch.Path().string() + "' && '" MORU_DB_PROGRAM "' " + arguments +
                                    " >/dev/null 2>'" + errFile + "'";
        const int raw = std::system(command.c_str());
        Outcome run;
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.err = Read(errFile);
        return run;
    }

    std::string Read(const std::string& name) const
    {
        std::ifstream file(scratch.File(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    // The scratch directory's files beside the test's own.
    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(scratch.Path())) {
            const std::string name = entry.path().filename().string();
            if (name != errFile) names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    ScratchDirectory scratch;
    const std::string errFile = "moru-db.err";
};

TEST_F(MoruDbCommandLine, BuildRefusesAFileThatIsNotADatabaseAndReplacesItWithForce)
{
    const Outcome refused = MoruDb("build source.json keep.txt");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("--force"), std::string::npos) << refused.err;
    EXPECT_EQ(Read("keep.txt"), "notes to keep\n");

    const Outcome forced = MoruDb("build --force source.json keep.txt");
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(dbtool::DumpDatabase(scratch.File("keep.txt")), RichSource());
    EXPECT_EQ(Files(), (std::vector<std::string>{"a.db", "keep.txt", "source.json"}));
}

TEST_F(MoruDbCommandLine, BuildReplacesItsOwnDatabaseWithoutForce)
{
    Json changed = RichSource();
    changed["database"]["description"] = "changed";
    scratch.Write("changed.json", changed.dump(1));
    const Outcome run = MoruDb("build changed.json a.db");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(dbtool::DumpDatabase(scratch.File("a.db"))["database"]["description"], "changed");
}

TEST_F(MoruDbCommandLine, DumpRefusesAnExistingOutputWithoutForce)
{
    const std::string database = Read("a.db");
    Build(RichSource(), scratch.File("b.db"));
    for (const char* output : {"keep.txt", "b.db"}) {
        const Outcome run = MoruDb(std::string("dump a.db ") + output);
        EXPECT_EQ(run.status, 1) << output;
        EXPECT_NE(run.err.find("--force"), std::string::npos) << run.err;
    }
    EXPECT_EQ(Read("keep.txt"), "notes to keep\n");
    EXPECT_EQ(Read("a.db"), database);
    EXPECT_EQ(dbtool::DumpDatabase(scratch.File("b.db")), RichSource());
}

// A file written in place would show the new text through a second link to it; one written
// beside and renamed leaves that link with the old text.
TEST_F(MoruDbCommandLine, DumpWithForceWritesBesideTheOutputAndRenamesIt)
{
    std::filesystem::create_hard_link(scratch.File("keep.txt"), scratch.File("link.txt"));
    const Outcome run = MoruDb("dump --force a.db keep.txt");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Json::parse(Read("keep.txt")), RichSource());
    EXPECT_EQ(Read("link.txt"), "notes to keep\n");
    EXPECT_EQ(Files(), (std::vector<std::string>{"a.db", "keep.txt", "link.txt", "source.json"}));

    const Outcome fresh = MoruDb("dump a.db new.json");
    EXPECT_EQ(fresh.status, 0) << fresh.err;
    EXPECT_EQ(Json::parse(Read("new.json")), RichSource());
}

TEST_F(MoruDbCommandLine, DumpOntoItsOwnDatabaseFailsUnderAnyNameAndLeavesItIntact)
{
    std::filesystem::create_symlink("a.db", scratch.File("link.db"));
    const std::string database = Read("a.db");
    for (const char* arguments : {"dump a.db a.db", "dump a.db ./a.db", "dump a.db link.db", "dump ./a.db a.db",
                                  "dump --force a.db a.db", "dump --force link.db a.db"}) {
        const Outcome run = MoruDb(arguments);
        EXPECT_EQ(run.status, 1) << arguments;
        EXPECT_NE(run.err.find("the database itself"), std::string::npos) << arguments << ": " << run.err;
        EXPECT_EQ(Read("a.db"), database) << arguments;
    }
    EXPECT_TRUE(std::filesystem::is_symlink(scratch.File("link.db")));
}

TEST_F(MoruDbCommandLine, ConvertBundleRefusesAnExistingOutputBeforeReadingTheBundle)
{
    const Outcome run = MoruDb("convert-bundle no-such-bundle keep.txt");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("--force"), std::string::npos) << run.err;
    EXPECT_EQ(Read("keep.txt"), "notes to keep\n");
}

} // namespace
} // namespace moru::sqlite::testing
