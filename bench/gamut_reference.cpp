// quillon-gamut-reference: volumes and coverages of device profiles by voxel counting in
// CIELAB, independent of the net the viewer builds (no binning, no net, no rays). Prints
// figures to compare with quillon-gamut; it is slow on purpose (seconds per profile).
//
// Voxels are 1 x 1 x 1 dE*ab cubes over L* 0..100, a*, b* -256..256 (room for the widest
// RGB gamuts), tested at their middle.
//  - Matrix/TRC RGB profiles: a colour is inside exactly when its linear RGB, the colorant
//    matrix solved for its D50 XYZ, lies within 0..1 (relative colorimetric; the curves map
//    0..1 onto 0..1 and do not change the answer).
//  - Other RGB and CMYK profiles: the device cube's boundary (its faces, sampled densely) is
//    sent through LittleCMS to Lab in double precision; the voxels it touches form a shell,
//    everything the outside cannot reach through face-adjacent free voxels is inside, and
//    shell voxels next to the outside count half (the surface cuts them about in half).
// Usage: quillon-gamut-reference [--shell] PROFILE...   (--shell: the shell method for every profile)
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <lcms2.h>

namespace {

constexpr int kL = 100, kA = 512, kB = 512; // voxels along L*, a*, b*
constexpr double kAMin = -256.0;

std::size_t Index(int l, int a, int b) { return (std::size_t(l) * kA + a) * kB + b; }

// Voxel weights: 0 outside, 1 inside, 0.5 on the boundary.
using Occupancy = std::vector<float>;

bool MatrixOccupancy(cmsHPROFILE profile, Occupancy& out)
{
    const cmsTagSignature tags[3] = {cmsSigRedColorantTag, cmsSigGreenColorantTag, cmsSigBlueColorantTag};
    double m[3][3];
    for (int c = 0; c < 3; ++c) {
        const auto* xyz = static_cast<const cmsCIEXYZ*>(cmsReadTag(profile, tags[c]));
        if (!xyz)
            return false;
        m[0][c] = xyz->X;
        m[1][c] = xyz->Y;
        m[2][c] = xyz->Z;
    }
    // Inverse of the colorant matrix by cofactors.
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    if (det == 0.0)
        return false;
    double inv[3][3];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const int r1 = (c + 1) % 3, r2 = (c + 2) % 3, c1 = (r + 1) % 3, c2 = (r + 2) % 3;
            inv[r][c] = (m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1]) / det;
        }
    out.assign(std::size_t(kL) * kA * kB, 0.0f);
    for (int l = 0; l < kL; ++l)
        for (int a = 0; a < kA; ++a)
            for (int b = 0; b < kB; ++b) {
                const cmsCIELab lab = {l + 0.5, kAMin + a + 0.5, kAMin + b + 0.5};
                cmsCIEXYZ xyz;
                cmsLab2XYZ(cmsD50_XYZ(), &xyz, &lab);
                bool inside = true;
                for (int r = 0; r < 3 && inside; ++r) {
                    const double v = inv[r][0] * xyz.X + inv[r][1] * xyz.Y + inv[r][2] * xyz.Z;
                    inside = v >= 0.0 && v <= 1.0;
                }
                out[Index(l, a, b)] = inside ? 1.0f : 0.0f;
            }
    return true;
}

bool ShellOccupancy(cmsHPROFILE profile, int channels, Occupancy& out)
{
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    const cmsUInt32Number format = channels == 3 ? TYPE_RGB_DBL : TYPE_CMYK_DBL;
    cmsHTRANSFORM transform =
        cmsCreateTransform(profile, format, lab, TYPE_Lab_DBL, INTENT_RELATIVE_COLORIMETRIC, 0);
    cmsCloseProfile(lab);
    if (!transform)
        return false;
    std::vector<std::uint8_t> shell(std::size_t(kL) * kA * kB, 0);
    // Samples per face edge: adjacent samples land well under a voxel apart.
    const int steps = channels == 3 ? 1024 : 128;
    std::vector<double> device, labs;
    for (int fixed = 0; fixed < channels; ++fixed)
        for (int side = 0; side < 2; ++side) {
            const int free = channels - 1;
            std::size_t count = 1;
            for (int k = 0; k < free; ++k)
                count *= std::size_t(steps + 1);
            device.assign(count * channels, 0.0);
            for (std::size_t i = 0; i < count; ++i) {
                std::size_t rest = i;
                for (int c = 0, k = 0; c < channels; ++c) {
                    if (c == fixed) {
                        device[i * channels + c] = side * 100.0;
                        continue;
                    }
                    device[i * channels + c] = 100.0 * double(rest % (steps + 1)) / steps;
                    rest /= (steps + 1);
                    ++k;
                }
            }
            // TYPE_RGB_DBL takes 0..1, TYPE_CMYK_DBL 0..100.
            if (channels == 3)
                for (double& v : device)
                    v /= 100.0;
            labs.assign(count * 3, 0.0);
            cmsDoTransform(transform, device.data(), labs.data(), cmsUInt32Number(count));
            for (std::size_t i = 0; i < count; ++i) {
                const int l = int(std::floor(labs[i * 3]));
                const int a = int(std::floor(labs[i * 3 + 1] - kAMin));
                const int b = int(std::floor(labs[i * 3 + 2] - kAMin));
                if (l >= 0 && l < kL && a >= 0 && a < kA && b >= 0 && b < kB)
                    shell[Index(l, a, b)] = 1;
            }
        }
    cmsDeleteTransform(transform);

    // Flood the outside from the grid's border through face-adjacent free voxels.
    std::vector<std::uint8_t> outside(shell.size(), 0);
    std::vector<std::array<int, 3>> stack;
    auto push = [&](int l, int a, int b) {
        if (l < 0 || l >= kL || a < 0 || a >= kA || b < 0 || b >= kB)
            return;
        const std::size_t i = Index(l, a, b);
        if (shell[i] || outside[i])
            return;
        outside[i] = 1;
        stack.push_back({l, a, b});
    };
    for (int l = 0; l < kL; ++l)
        for (int a = 0; a < kA; ++a)
            for (int b = 0; b < kB; ++b)
                if (l == 0 || l == kL - 1 || a == 0 || a == kA - 1 || b == 0 || b == kB - 1)
                    push(l, a, b);
    while (!stack.empty()) {
        const auto [l, a, b] = stack.back();
        stack.pop_back();
        push(l - 1, a, b);
        push(l + 1, a, b);
        push(l, a - 1, b);
        push(l, a + 1, b);
        push(l, a, b - 1);
        push(l, a, b + 1);
    }
    out.assign(shell.size(), 0.0f);
    for (int l = 0; l < kL; ++l)
        for (int a = 0; a < kA; ++a)
            for (int b = 0; b < kB; ++b) {
                const std::size_t i = Index(l, a, b);
                if (outside[i])
                    continue;
                bool touchesOutside = false;
                const int n[6][3] = {{l - 1, a, b}, {l + 1, a, b}, {l, a - 1, b}, {l, a + 1, b}, {l, a, b - 1}, {l, a, b + 1}};
                for (const auto& q : n)
                    if (q[0] < 0 || q[0] >= kL || q[1] < 0 || q[1] >= kA || q[2] < 0 || q[2] >= kB ||
                        outside[Index(q[0], q[1], q[2])])
                        touchesOutside = true;
                out[i] = shell[i] && touchesOutside ? 0.5f : 1.0f;
            }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    int first = 1;
    const bool shellOnly = argc > 1 && std::string(argv[1]) == "--shell";
    if (shellOnly)
        ++first;
    if (argc <= first) {
        std::fprintf(stderr, "usage: %s [--shell] PROFILE...\n", argv[0]);
        return 2;
    }
    std::vector<Occupancy> voxels;
    std::vector<std::string> names;
    for (int i = first; i < argc; ++i) {
        cmsHPROFILE profile = cmsOpenProfileFromFile(argv[i], "r");
        if (!profile) {
            std::fprintf(stderr, "%s: cannot open\n", argv[i]);
            continue;
        }
        const cmsColorSpaceSignature space = cmsGetColorSpace(profile);
        Occupancy occupancy;
        const char* method = "";
        bool ok = false;
        if (space == cmsSigRgbData && cmsIsMatrixShaper(profile) && !shellOnly) {
            ok = MatrixOccupancy(profile, occupancy);
            method = "matrix";
        } else if (space == cmsSigRgbData || space == cmsSigCmykData) {
            ok = ShellOccupancy(profile, space == cmsSigRgbData ? 3 : 4, occupancy);
            method = "shell";
        }
        cmsCloseProfile(profile);
        if (!ok) {
            std::fprintf(stderr, "%s: not an RGB or CMYK profile this program can measure\n", argv[i]);
            continue;
        }
        double volume = 0.0;
        for (float w : occupancy)
            volume += w;
        std::printf("volume %zu %.0f %s (%s)\n", voxels.size() + 1, volume, argv[i], method);
        std::fflush(stdout);
        voxels.push_back(std::move(occupancy));
        names.push_back(argv[i]);
    }
    for (std::size_t i = 0; i < voxels.size(); ++i)
        for (std::size_t j = 0; j < voxels.size(); ++j) {
            if (i == j)
                continue;
            double own = 0.0, shared = 0.0;
            for (std::size_t k = 0; k < voxels[i].size(); ++k) {
                own += voxels[i][k];
                shared += std::min(voxels[i][k], voxels[j][k]);
            }
            std::printf("coverage %zu %zu %.2f\n", i + 1, j + 1, own > 0 ? 100.0 * shared / own : 0.0);
        }
    return 0;
}
