// quillon-gamut: gamut volumes, coverage and colour tests of ICC profiles on the command line.
#include <iostream>
#include <string>
#include <vector>

#include "tools/gamut_cli/GamutCommand.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    return quillon::cli::Main(args, std::cout, std::cerr);
}
