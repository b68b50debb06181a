#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tools/gamut_cli/GamutCommand.h"

using namespace quillon::cli;

namespace {

std::string Fixture(const char* name) { return std::string(QUILLON_FIXTURE_DIR "/") + name; }

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

Outcome RunTool(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    Outcome outcome;
    outcome.status = Main(args, out, err);
    outcome.out = out.str();
    outcome.err = err.str();
    return outcome;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(GamutCommandArguments, Table)
{
    const struct {
        std::vector<std::string> args;
        ParseStatus status;
        std::size_t profiles;
        std::size_t colours;
        const char* named;
    } cases[] = {
        {{"a.icc"}, ParseStatus::Run, 1, 0, ""},
        {{"a.icc", "b.icc", "--lab", "50,0,0", "--lab=+60,-1.5e1,3"}, ParseStatus::Run, 2, 2, ""},
        {{"--named", "n.icc", "a.icc"}, ParseStatus::Run, 1, 0, "n.icc"},
        {{"--named=n.icc", "--", "-odd.icc"}, ParseStatus::Run, 1, 0, "n.icc"},
        {{"a.icc", "--help"}, ParseStatus::Help, 0, 0, ""},
        {{"-h"}, ParseStatus::Help, 0, 0, ""},
        {{}, ParseStatus::Usage, 0, 0, ""},
        {{"--lab", "50,0,0"}, ParseStatus::Usage, 0, 0, ""},
        {{"a.icc", "--lab"}, ParseStatus::Usage, 0, 0, ""},
        {{"a.icc", "--lab", "50,0"}, ParseStatus::Usage, 0, 0, ""},
        {{"a.icc", "--lab", "50,0,0,0"}, ParseStatus::Usage, 0, 0, ""},
        {{"a.icc", "--lab", "50,x,0"}, ParseStatus::Usage, 0, 0, ""},
        {{"a.icc", "--lab", "50, 0,0"}, ParseStatus::Usage, 0, 0, ""},
        {{"a.icc", "--lab", "nan,0,0"}, ParseStatus::Usage, 0, 0, ""},
        {{"a.icc", "--lab", "50,inf,0"}, ParseStatus::Usage, 0, 0, ""},
        {{"a.icc", "--lab", "50,1e999,0"}, ParseStatus::Usage, 0, 0, ""},
        {{"a.icc", "--named", "n.icc", "--named", "m.icc"}, ParseStatus::Usage, 0, 0, ""},
        {{"a.icc", "--named="}, ParseStatus::Usage, 0, 0, ""},
        {{"a.icc", "--volume"}, ParseStatus::Usage, 0, 0, ""},
    };
    for (const auto& c : cases) {
        const ParseResult result = ParseArguments(c.args);
        std::string joined;
        for (const auto& a : c.args)
            joined += a + " ";
        EXPECT_EQ(result.status, c.status) << joined;
        if (c.status == ParseStatus::Usage) {
            EXPECT_FALSE(result.error.empty()) << joined;
        }
        if (c.status != ParseStatus::Run)
            continue;
        EXPECT_EQ(result.options.profiles.size(), c.profiles) << joined;
        EXPECT_EQ(result.options.colours.size(), c.colours) << joined;
        EXPECT_EQ(result.options.namedFile, c.named) << joined;
    }
    // Numbers keep their text for the output and their value for the test.
    LabArgument colour;
    ASSERT_TRUE(ParseLab("+60,-1.5e1,3", colour));
    EXPECT_EQ(colour.text[0], "+60");
    EXPECT_EQ(colour.text[1], "-1.5e1");
    EXPECT_EQ(colour.value.L, 60.0);
    EXPECT_EQ(colour.value.a, -15.0);
    EXPECT_EQ(colour.value.b, 3.0);
}

TEST(GamutCommandFormat, Figures)
{
    EXPECT_EQ(FormatVolume(832434.5), "832435");
    EXPECT_EQ(FormatVolume(0.0), "0");
    EXPECT_EQ(FormatTwoDecimals(100.0), "100.00");
    EXPECT_EQ(FormatTwoDecimals(56.149), "56.15");
    EXPECT_EQ(FormatTwoDecimals(0.0), "0.00");
}

// The messages are the window's own: the English column of the string table.
TEST(GamutCommandMessages, MatchTheStringTable)
{
    std::ifstream table(QUILLON_SOURCE_DIR "/resources/strings.tsv");
    ASSERT_TRUE(table);
    int checked = 0;
    for (std::string line; std::getline(table, line);) {
        const std::size_t tab = line.find('\t');
        if (line.empty() || line[0] == '#' || tab == std::string::npos)
            continue;
        const int id = std::stoi(line.substr(0, tab));
        const std::size_t second = line.find('\t', tab + 1);
        const std::string english = line.substr(tab + 1, second - tab - 1);
        for (int wanted : {1014, 1016, 1024, 1026, 1027, 1031, 1032})
            if (id == wanted) {
                EXPECT_EQ(english, EnglishMessage(id)) << id;
                ++checked;
            }
    }
    EXPECT_EQ(checked, 7);
}

TEST(GamutCommand, HelpAndUsage)
{
    const Outcome help = RunTool({"--help"});
    EXPECT_EQ(help.status, kExitOk);
    EXPECT_NE(help.out.find("Usage: quillon-gamut"), std::string::npos);
    EXPECT_NE(help.out.find("coverage <i> <j> <percent>"), std::string::npos);
    EXPECT_TRUE(help.err.empty());
    const Outcome usage = RunTool({"--lab", "1,2"});
    EXPECT_EQ(usage.status, kExitUsage);
    EXPECT_TRUE(usage.out.empty());
    EXPECT_NE(usage.err.find("--help"), std::string::npos);
}

TEST(GamutCommand, FiguresVerdictsAndCounts)
{
    const std::string display = Fixture("rgb_display.icc"), printer = Fixture("cmyk_output.icc");
    const Outcome run = RunTool({display, printer, "--lab", "50,0,0", "--lab", "50,200,0", "--named",
                                 Fixture("named_lab_probe.icc")});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_TRUE(run.err.empty()) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u + 2u + 4u + 2u) << run.out;
    // volume <i> <integer> <path>
    for (std::size_t i = 0; i < 2; ++i) {
        std::istringstream line(lines[i]);
        std::string word, path;
        long long volume = 0;
        int index = 0;
        line >> word >> index >> volume >> path;
        EXPECT_EQ(word, "volume");
        EXPECT_EQ(index, int(i) + 1);
        EXPECT_GT(volume, 100000);
        EXPECT_EQ(path, i == 0 ? display : printer);
    }
    EXPECT_EQ(lines[2].rfind("coverage 1 2 ", 0), 0u);
    EXPECT_EQ(lines[3].rfind("coverage 2 1 ", 0), 0u);
    // The ink model's light comes through the display's primaries: the printer lies inside.
    EXPECT_EQ(lines[3], "coverage 2 1 100.00");
    EXPECT_EQ(lines[4], "inside 1 50 0 0 yes 0.00");
    EXPECT_EQ(lines[5].rfind("inside 1 50 200 0 no ", 0), 0u);
    EXPECT_EQ(lines[6], "inside 2 50 0 0 yes 0.00");
    EXPECT_EQ(lines[7].rfind("inside 2 50 200 0 no ", 0), 0u);
    EXPECT_EQ(lines[8], "named 1 6 10");
    EXPECT_EQ(lines[9].rfind("named 2 ", 0), 0u);
    EXPECT_EQ(lines[9].substr(lines[9].size() - 3), " 10");
}

TEST(GamutCommand, UnusableFilesAreReportedAndTheRestStillPrinted)
{
    const std::string missing = Fixture("no_such_profile.icc"), grey = Fixture("grey_monitor.icc");
    const Outcome run = RunTool({missing, Fixture("rgb_display.icc"), grey, "--lab", "60,0,0", "--named",
                                 Fixture("named_lab_empty.icc")});
    EXPECT_EQ(run.status, kExitUnusableFile);
    EXPECT_EQ(run.err, "quillon-gamut: " + missing + ": Unable to load selected profile.\n" + "quillon-gamut: " +
                           grey + ": Unsupported color space.\n" + "quillon-gamut: " + grey +
                           ": Unable to build gamut shape.\n");
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 3u) << run.out;
    EXPECT_EQ(lines[0].rfind("volume 2 ", 0), 0u); // numbered by argument position
    EXPECT_EQ(lines[1], "inside 2 60 0 0 yes 0.00");
    EXPECT_EQ(lines[2], "named 2 0 0"); // a library without colours
}

TEST(GamutCommand, UnusableNamedColourFiles)
{
    const struct {
        const char* file;
        const char* message;
    } cases[] = {
        {"no_such_library.icc", "Unable to load NCP profile."},
        {"rgb_display.icc", "Unable to read the NCP profile's colors."},
        {"named_no_element.icc", "Unable to read the NCP profile's colors."},
    };
    for (const auto& c : cases) {
        const Outcome run = RunTool({Fixture("rgb_display.icc"), "--named", Fixture(c.file)});
        EXPECT_EQ(run.status, kExitUnusableFile) << c.file;
        EXPECT_EQ(run.err, "quillon-gamut: " + Fixture(c.file) + ": " + c.message + "\n") << c.file;
        EXPECT_EQ(Lines(run.out).size(), 1u) << c.file; // the volume line still comes
    }
}

} // namespace
