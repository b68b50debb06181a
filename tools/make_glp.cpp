// Writes GLP.icc, the Lab profile that ends every gamut transform.
#include <cstdio>
#include <fstream>

#include "profiles/LabProfile.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output GLP.icc>\n", argv[0]);
        return 2;
    }
    const std::vector<std::uint8_t> bytes = quillon::MakeLabProfileBytes();
    if (bytes.empty())
        return 1;
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return out ? 0 : 1;
}
