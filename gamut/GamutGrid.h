#pragma once
#include <cstdint>

#include "gamut/GamutShape.h"

namespace quillon {

// Shared by the grid and the binner, which must round alike.
constexpr float kRadiansToDegrees = 57.295779513082320876798f;
constexpr double kDegreesToRadians = 0.017453292519943295;
constexpr float kCentreL = 50.0f; // the centre of the bins is L* 50, a* 0, b* 0

// One spherical bin: the outermost sample seen in its direction.
struct GamutCell {
    float radius;    // from (L* 50, a* 0, b* 0); 0 = empty
    float hue;       // degrees, [0, 360)
    float elevation; // degrees, [0, 360): above the a*b* plane 0 ... 90, below 270 ... 360
    float L, a, b;
};

struct Spherical {
    float radius, hue, elevation;
};

struct Lab {
    float L, a, b;
};

// A float angle just below 0 plus 360 rounds to 360.0f; such an angle is 0 to within float
// precision, so it is held as 0 (sector 0 starts at the +a* axis, band by elevation 0).
Spherical LabToSpherical(float L, float a, float b);
Lab SphericalToLab(float radius, float hue, float elevation);

// The builder's working grid of n x n bins, [band][sector].
struct GamutGrid {
    GamutCell cells[kMaxGridSize][kMaxGridSize];
    std::uint32_t colourSpace;
    float hueStep;
    float elevationStep;
    std::int16_t gridSize;
    float topPole[3];    // a*, L*, b*
    float bottomPole[3];

    // n odd -> n + 1, n < 8 -> 8, n > 32 -> 32 (the cell array's size).
    void Reset(int n, std::uint32_t signature);
    void AddSample(float L, float a, float b);
    // Sets hue and elevation of every non-empty cell from its L*, a*, b*: the values
    // AddSample stores, for cells filled with radius and Lab only (see BlockBinner).
    void SetAnglesFromLab();
    // Hole filling, then the pole search. Always ends. For a grid filled from samples, no
    // filled point and no pole ends up farther than kBoxTolerance outside the box of the
    // cells the samples filled: a point that would is moved onto that widened box. A shape
    // of samples bunched in a corner, on a plane or on the L* axis so stays where they are
    // instead of closing as a sphere about the centre.
    void Repair();

    // Bin of a stored elevation / hue, always within 0 ... n - 1.
    int BandOf(float elevation) const;
    int SectorOf(float hue) const;
    // The band of a lift already truncated to whole degrees.
    int BandOfWholeLift(float wholeLift) const;

    // Keeps each cell of other whose radius is strictly greater: merging the grids of
    // consecutive sample runs in run order equals binning all samples in order.
    void MergeFrom(const GamutGrid& later);

    // Hole-filling passes the last Repair ran (for tests of its termination).
    int lastFillPasses = 0;
    // Cells were filled from samples (AddSample, SetAnglesFromLab, or merged from such a grid),
    // not set by hand: Repair keeps the shape within their box.
    bool fromSamples = false;
    static constexpr float kBoxTolerance = 1.0f;

private:
    bool FillHole(int band, int sector, int minNeighbours);
    void FillHoles();
    void FindPoles();
};

// The sector whose highest (lowest) point joins sector i's in the pole fan: the next one
// cyclically, skipping the apex sector.
int FanPartner(int sector, int apexSector, int n);

} // namespace quillon
