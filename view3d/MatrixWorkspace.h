#pragma once
#include <cstdint>
#include <memory>
#include <vector>

namespace quillon {

// Result codes of the workspace, 0 for success.
enum class MatrixResult : std::int16_t {
    Ok = 0,
    OutOfMemory = -1,
    BadSize = -3,
    PoolFull = -5,
    ShapeMismatch = -8,
};

// A dense matrix; element (r, c) sits at c + columns * r.
struct Matrix {
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    std::vector<double> elements;

    double& At(std::int32_t r, std::int32_t c) { return elements[std::size_t(c) + std::size_t(columns) * std::size_t(r)]; }
    double At(std::int32_t r, std::int32_t c) const { return elements[std::size_t(c) + std::size_t(columns) * std::size_t(r)]; }
};

// A pool of matrices that owns them all and frees them at once.
class MatrixWorkspace {
public:
    static constexpr int kMaxMatrices = 200;
    // Larger matrices are refused as out of memory instead of being attempted.
    static constexpr std::int64_t kMaxElements = std::int64_t(1) << 20;

    MatrixWorkspace() = default;
    MatrixWorkspace(const MatrixWorkspace&) = delete;
    MatrixWorkspace& operator=(const MatrixWorkspace&) = delete;

    // initial: columns * rows values in row-major order, or null for zeros.
    // out null: nothing happens and Ok is answered. The matrix stays owned by the pool.
    MatrixResult CreateMatrix(std::int32_t columns, std::int32_t rows, const double* initial, Matrix** out);

    // c = a * b. ShapeMismatch, with c unchanged, unless a.columns == b.rows,
    // c.columns == b.columns and c.rows == a.rows. c may be a or b. OutOfMemory, c
    // unchanged, when the scratch copy cannot be had.
    static MatrixResult Multiply(const Matrix& a, const Matrix& b, Matrix& c);

    void ReleaseAll() { m_matrices.clear(); }
    int Count() const { return int(m_matrices.size()); }

private:
    std::vector<std::unique_ptr<Matrix>> m_matrices;
};

} // namespace quillon
