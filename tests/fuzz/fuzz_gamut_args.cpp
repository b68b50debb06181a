// libFuzzer entry point: quillon-gamut's command line. The input is split at newlines into
// arguments and parsed; help and usage errors run through Main to their output. A command
// line that would build shapes is only parsed (its builds are the shape fuzzer's). The
// parsed options must say back what was typed.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tools/gamut_cli/GamutCommand.h"

namespace {

// At most this many arguments: a longer line says nothing new to the parser.
constexpr std::size_t kMaxArguments = 64;

std::vector<std::string> Split(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> args;
    if (size == 0)
        return args;
    args.emplace_back();
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] != '\n') {
            args.back().push_back(static_cast<char>(data[i]));
        } else if (args.size() < kMaxArguments) {
            args.emplace_back();
        } else {
            break;
        }
    }
    return args;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace quillon::cli;
    const std::vector<std::string> args = Split(data, size);
    const ParseResult parsed = ParseArguments(args);
    switch (parsed.status) {
    case ParseStatus::Run: {
        if (parsed.options.profiles.empty() || !parsed.error.empty())
            std::abort();
        // Every --lab value parses again to the same text and numbers.
        for (const LabArgument& colour : parsed.options.colours) {
            LabArgument again;
            if (!ParseLab(colour.text[0] + "," + colour.text[1] + "," + colour.text[2], again) ||
                again.value.L != colour.value.L || again.value.a != colour.value.a ||
                again.value.b != colour.value.b)
                std::abort();
        }
        break;
    }
    case ParseStatus::Help:
    case ParseStatus::Usage: {
        if ((parsed.status == ParseStatus::Usage) == parsed.error.empty())
            std::abort();
        std::ostringstream out, err;
        const int status = Main(args, out, err);
        const bool help = parsed.status == ParseStatus::Help;
        if (status != (help ? kExitOk : kExitUsage) || (help ? out : err).str().empty() ||
            !(help ? err : out).str().empty())
            std::abort();
        break;
    }
    }
    // Each argument alone as a --lab value: never a crash, and a success holds finite numbers.
    for (const std::string& arg : args) {
        LabArgument colour;
        if (ParseLab(arg, colour) && !(std::isfinite(colour.value.L) && std::isfinite(colour.value.a) &&
                                       std::isfinite(colour.value.b)))
            std::abort();
    }
    return 0;
}
