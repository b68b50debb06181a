#include "tools/gamut_cli/GamutCommand.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ostream>

#include "gamut/ProfileShape.h"
#include "profiles/LoadedProfile.h"
#include "profiles/NamedColourLab.h"
#include "profiles/NamedColours.h"

namespace quillon::cli {
namespace {

constexpr const char* kProgram = "quillon-gamut";

// The window's messages (English column of the string table) for the failures this tool meets.
struct Message {
    int id;
    const char* text;
};
constexpr Message kMessages[] = {
    {1014, "Unable to load selected profile."},
    {1016, "Unable to build gamut shape."},
    {1024, "Unable to load profile GLP.icc from the application folder."},
    {1026, "Unable to use the selected profile."},
    {1027, "Unsupported color space."},
    {1031, "Unable to load NCP profile."},
    {1032, "Unable to read the NCP profile's colors."},
};

// The messages the window shows, in turn, when a shape cannot be built.
std::vector<int> MessagesFor(ProfileShapeResult result)
{
    switch (result) {
    case ProfileShapeResult::Ok: return {};
    case ProfileShapeResult::CannotLoadProfile: return {1014};
    case ProfileShapeResult::CannotLoadLabProfile: return {1024, 1016};
    case ProfileShapeResult::UnsupportedColourSpace: return {1027, 1016};
    case ProfileShapeResult::CannotUseProfile: return {1026, 1016};
    case ProfileShapeResult::OutOfMemory: return {1004};
    }
    return {1016};
}

bool ParseNumber(const std::string& text, double& value)
{
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+')
        ++first;
    if (first == last)
        return false;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    return error == std::errc() && end == last && std::isfinite(value);
}

void Report(std::ostream& err, const std::string& path, int id)
{
    err << kProgram << ": " << path << ": " << EnglishMessage(id) << '\n';
}

enum class NamedLoad { Ok, CannotLoad, CannotRead };

NamedLoad LoadNamedColours(const std::string& path, std::vector<LabValue>& colours)
{
    LoadedProfileSet set;
    LoadedProfile* profile = nullptr;
    if (LoadProfileFile(set, path, &profile) != LoadResult::Ok || profile == nullptr)
        return NamedLoad::CannotLoad;
    std::uint32_t count = 0;
    if (ReadNamedColours(*profile, nullptr, count) != NamedColourResult::CountOnly)
        return NamedLoad::CannotRead;
    std::vector<NamedColour> named(count);
    if (count > 0 && ReadNamedColours(*profile, named.data(), count) != NamedColourResult::Ok)
        return NamedLoad::CannotRead;
    named.resize(count);
    colours.clear();
    for (const NamedColour& colour : named) {
        const NamedLab lab = NamedColourLab(colour);
        colours.push_back({lab.L, lab.a, lab.b});
    }
    return NamedLoad::Ok;
}

} // namespace

const char* EnglishMessage(int id)
{
    for (const Message& message : kMessages)
        if (message.id == id)
            return message.text;
    return "";
}

std::string FormatVolume(double volume)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", std::round(volume));
    return text;
}

std::string FormatTwoDecimals(double value)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

bool ParseLab(const std::string& text, LabArgument& out)
{
    LabArgument parsed;
    std::size_t from = 0;
    for (int k = 0; k < 3; ++k) {
        const std::size_t comma = text.find(',', from);
        const bool last = k == 2;
        if (last != (comma == std::string::npos))
            return false;
        parsed.text[k] = text.substr(from, last ? std::string::npos : comma - from);
        from = comma + 1;
    }
    if (!ParseNumber(parsed.text[0], parsed.value.L) || !ParseNumber(parsed.text[1], parsed.value.a) ||
        !ParseNumber(parsed.text[2], parsed.value.b))
        return false;
    out = parsed;
    return true;
}

ParseResult ParseArguments(std::span<const std::string> args)
{
    ParseResult result;
    Options& options = result.options;
    bool optionsEnded = false;
    bool namedGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            options.profiles.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            result.status = ParseStatus::Help;
            return result;
        }
        std::string name = arg, value;
        bool hasValue = false;
        if (const std::size_t equals = arg.find('='); equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
            hasValue = true;
        }
        if (name != "--lab" && name != "--named") {
            result.error = "unknown option " + arg;
            return result;
        }
        if (!hasValue) {
            if (i + 1 >= args.size()) {
                result.error = name + " needs a value";
                return result;
            }
            value = args[++i];
        }
        if (name == "--lab") {
            LabArgument colour;
            if (!ParseLab(value, colour)) {
                result.error = "--lab wants L,a,b as three finite numbers, not " + value;
                return result;
            }
            options.colours.push_back(colour);
        } else {
            if (namedGiven) {
                result.error = "--named may be given once";
                return result;
            }
            namedGiven = true;
            if (value.empty()) {
                result.error = "--named needs a file";
                return result;
            }
            options.namedFile = value;
        }
    }
    if (options.profiles.empty()) {
        result.error = "no profile given";
        return result;
    }
    result.status = ParseStatus::Run;
    return result;
}

std::string HelpText()
{
    return "Usage: quillon-gamut [--lab L,a,b]... [--named FILE] PROFILE...\n"
           "\n"
           "Builds the gamut shape of each device profile (RGB, CMYK or six colours) as the\n"
           "Quillon window does (relative colorimetric, to CIELAB D50) and prints its figures.\n"
           "Profiles are numbered 1, 2, ... in the order given.\n"
           "\n"
           "Output, one figure a line, in this order:\n"
           "  volume <i> <volume> <path>        volume of profile i in cubic CIELAB units\n"
           "                                    (dE*ab^3), to the nearest integer\n"
           "  coverage <i> <j> <percent>        share of profile i's volume inside profile j,\n"
           "                                    for every i, then every j other than i\n"
           "  inside <i> <L> <a> <b> <yes|no> <distance>\n"
           "                                    for every profile i, then every --lab colour\n"
           "                                    in the order given: whether the colour lies\n"
           "                                    inside, and its distance in dE*ab to the\n"
           "                                    gamut's surface (0.00 when inside); L a b are\n"
           "                                    printed exactly as typed\n"
           "  named <i> <inside> <total>        for every profile i: how many colours of the\n"
           "                                    --named profile lie inside\n"
           "Percentages and distances have two decimals, with a point.\n"
           "\n"
           "Options:\n"
           "  --lab L,a,b    a CIELAB colour to test, three finite numbers (repeatable)\n"
           "  --named FILE   a named-colour profile whose colours are counted\n"
           "  --help         this text\n"
           "  --             end of options (for a profile whose name starts with -)\n"
           "\n"
           "A file that cannot be used is reported on standard error with the window's\n"
           "message; the other profiles are still reported and the exit status is 1.\n"
           "Exit status: 0 all reported, 1 a file could not be used, 2 bad arguments.\n";
}

int Run(const Options& options, std::ostream& out, std::ostream& err, unsigned threads)
{
    int status = kExitOk;
    const std::size_t count = options.profiles.size();
    std::vector<GamutShape> shapes(count);
    std::vector<std::size_t> usable; // argument positions of the shapes built
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& path = options.profiles[i];
        const ProfileShapeResult result = BuildShapeFromProfileFile(path, shapes[i], {}, threads);
        if (result == ProfileShapeResult::Ok) {
            usable.push_back(i);
            continue;
        }
        for (int id : MessagesFor(result))
            Report(err, path, id);
        status = kExitUnusableFile;
    }

    std::vector<const GamutShape*> built;
    for (std::size_t i : usable)
        built.push_back(&shapes[i]);
    const std::vector<GamutSolid> solids = MakeSolids(built, threads);
    const GamutFigures figures = ComputeFigures(solids, threads);

    std::vector<LabValue> named;
    bool namedUsable = false;
    if (!options.namedFile.empty()) {
        switch (LoadNamedColours(options.namedFile, named)) {
        case NamedLoad::Ok: namedUsable = true; break;
        case NamedLoad::CannotLoad:
            Report(err, options.namedFile, 1031);
            status = kExitUnusableFile;
            break;
        case NamedLoad::CannotRead:
            Report(err, options.namedFile, 1032);
            status = kExitUnusableFile;
            break;
        }
    }

    const auto number = [&usable](std::size_t k) { return usable[k] + 1; };
    for (std::size_t k = 0; k < usable.size(); ++k)
        out << "volume " << number(k) << ' ' << FormatVolume(figures.volume[k]) << ' '
            << options.profiles[usable[k]] << '\n';
    for (std::size_t k = 0; k < usable.size(); ++k)
        for (std::size_t m = 0; m < usable.size(); ++m)
            if (m != k)
                out << "coverage " << number(k) << ' ' << number(m) << ' '
                    << FormatTwoDecimals(figures.Coverage(k, m)) << '\n';
    for (std::size_t k = 0; k < usable.size(); ++k)
        for (const LabArgument& colour : options.colours) {
            const InsideResult verdict = solids[k].Test(colour.value);
            out << "inside " << number(k) << ' ' << colour.text[0] << ' ' << colour.text[1] << ' '
                << colour.text[2] << ' ';
            switch (verdict.verdict) {
            case Verdict::Inside: out << "yes 0.00\n"; break;
            case Verdict::Outside: out << "no " << FormatTwoDecimals(verdict.distance) << '\n'; break;
            case Verdict::NoVerdict: out << "none -\n"; break;
            }
        }
    if (namedUsable)
        for (std::size_t k = 0; k < usable.size(); ++k) {
            const NamedCount counted = solids[k].CountInside(named);
            out << "named " << number(k) << ' ' << counted.inside << ' ' << counted.total << '\n';
        }
    out.flush();
    return status;
}

int Main(std::span<const std::string> args, std::ostream& out, std::ostream& err)
{
    const ParseResult parsed = ParseArguments(args);
    switch (parsed.status) {
    case ParseStatus::Help: out << HelpText(); return kExitOk;
    case ParseStatus::Usage:
        err << kProgram << ": " << parsed.error << "\nTry 'quillon-gamut --help'.\n";
        return kExitUsage;
    case ParseStatus::Run: break;
    }
    return Run(parsed.options, out, err);
}

} // namespace quillon::cli
