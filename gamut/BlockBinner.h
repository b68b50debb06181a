#pragma once
#include <cstddef>
#include <cstdint>

#include "gamut/GamutGrid.h"

namespace quillon {

// Bins a block of returned Lab words into a grid with the same result as decoding each and
// calling GamutGrid::AddSample in order, but faster: most samples lose to the radius their
// cell already holds, and for those the cell is found from approximate angles, several
// samples at a time. A sample whose approximate angles lie near a cell boundary goes through
// the exact formulas. Cells it fills hold radius and Lab only: call
// GamutGrid::SetAnglesFromLab after the last block (and before Repair).
class BlockBinner {
public:
    static constexpr std::size_t kCapacity = 4096;

    // Decodes the words and finds each sample's radius and, where certain, its cell.
    void Classify(const std::uint16_t* labWords, std::size_t count, const GamutGrid& grid)
    {
        Decode(labWords, count);
        Classify(grid);
    }
    // The same in steps, so that some samples can take a Lab the words cannot hold:
    // Decode, Replace those, then Classify.
    void Decode(const std::uint16_t* labWords, std::size_t count);
    void Replace(std::size_t i, const Lab& lab)
    {
        m_L[i] = lab.L;
        m_a[i] = lab.a;
        m_b[i] = lab.b;
    }
    void Classify(const GamutGrid& grid);
    // Bins the classified samples in order.
    void Bin(GamutGrid& grid) const;

    void Add(GamutGrid& grid, const std::uint16_t* labWords, std::size_t count)
    {
        Classify(labWords, count, grid);
        Bin(grid);
    }

    // After Classify: the cell of sample i, or -1 where the exact formulas must decide.
    int CertainCell(std::size_t i) const { return m_cell[i]; }
    std::size_t size() const { return m_count; }

private:
    void PrepareBands(const GamutGrid& grid);

    std::size_t m_count = 0;
    float m_L[kCapacity];
    float m_a[kCapacity];
    float m_b[kCapacity];
    float m_radius[kCapacity];
    int m_lift[kCapacity];   // whole degrees of lift
    int m_sector[kCapacity];
    float m_certain[kCapacity]; // 1 where the approximate angles decide the cell
    int m_cell[kCapacity];   // band * kMaxGridSize + sector, -1 when uncertain
    float m_elevationStep = 0.0f;
    std::int16_t m_gridSize = 0;
    std::int16_t m_bandOfLift[181] = {};
};

} // namespace quillon
