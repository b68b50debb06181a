#pragma once
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

#include "gamut/GamutSolid.h"

namespace quillon::cli {

// One --lab value: the three numbers as typed (printed back unchanged) and their values.
struct LabArgument {
    std::string text[3];
    LabValue value;
};

struct Options {
    std::vector<std::string> profiles;
    std::vector<LabArgument> colours;
    std::string namedFile; // empty: no --named
};

enum class ParseStatus { Run, Help, Usage };

struct ParseResult {
    ParseStatus status = ParseStatus::Usage;
    Options options;
    std::string error; // for Usage
};

// Arguments after the program name.
ParseResult ParseArguments(std::span<const std::string> args);

// "L,a,b": three finite decimal numbers. False for anything else.
bool ParseLab(const std::string& text, LabArgument& out);

std::string HelpText();

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitUnusableFile = 1; // a profile or the named-colour file could not be used
constexpr int kExitUsage = 2;

// Builds every profile, prints the figures to out and the window's messages to err.
// threads 0 = hardware concurrency (the figures do not depend on it).
int Run(const Options& options, std::ostream& out, std::ostream& err, unsigned threads = 0);

// Whole command line: parse, then help, usage error or Run.
int Main(std::span<const std::string> args, std::ostream& out, std::ostream& err);

// English text of a message id of the string table (the ones this tool prints).
const char* EnglishMessage(int id);

// Formatting of the figures, independent of the locale.
std::string FormatVolume(double volume);   // nearest integer, no separators
std::string FormatTwoDecimals(double value); // "99.98"

} // namespace quillon::cli
