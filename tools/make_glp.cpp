// Writes GLP.icc, the Lab profile that ends every gamut transform.
#include <cstdio>

#include <lcms2.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output GLP.icc>\n", argv[0]);
        return 2;
    }
    cmsHPROFILE lab = cmsCreateLab2Profile(nullptr); // D50 white
    if (!lab)
        return 1;
    const bool saved = cmsSaveProfileToFile(lab, argv[1]);
    cmsCloseProfile(lab);
    return saved ? 0 : 1;
}
