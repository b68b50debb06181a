#include "view3d/MatrixWorkspace.h"

#include <new>

namespace quillon {

MatrixResult MatrixWorkspace::CreateMatrix(std::int32_t columns, std::int32_t rows, const double* initial,
                                           Matrix** out)
{
    if (!out)
        return MatrixResult::Ok;
    if (Count() >= kMaxMatrices)
        return MatrixResult::PoolFull;
    if (columns < 1 || rows < 1)
        return MatrixResult::BadSize;
    const std::int64_t count = std::int64_t(columns) * std::int64_t(rows);
    if (count > kMaxElements)
        return MatrixResult::OutOfMemory;
    try {
        auto matrix = std::make_unique<Matrix>();
        matrix->columns = columns;
        matrix->rows = rows;
        if (initial)
            matrix->elements.assign(initial, initial + count);
        else
            matrix->elements.assign(std::size_t(count), 0.0);
        m_matrices.reserve(m_matrices.size() + 1);
        *out = matrix.get();
        m_matrices.push_back(std::move(matrix));
    } catch (const std::bad_alloc&) {
        return MatrixResult::OutOfMemory;
    }
    return MatrixResult::Ok;
}

MatrixResult MatrixWorkspace::Multiply(const Matrix& a, const Matrix& b, Matrix& c)
{
    if (a.columns != b.rows || c.columns != b.columns || c.rows != a.rows)
        return MatrixResult::ShapeMismatch;
    // Sums go to a scratch copy first so that c may alias a or b.
    std::vector<double> result;
    try {
        result.assign(c.elements.size(), 0.0);
    } catch (const std::bad_alloc&) {
        return MatrixResult::OutOfMemory;
    }
    for (std::int32_t r = 0; r < c.rows; ++r)
        for (std::int32_t col = 0; col < c.columns; ++col) {
            double sum = 0.0;
            for (std::int32_t k = 0; k < a.columns; ++k)
                sum += a.At(r, k) * b.At(k, col);
            result[std::size_t(col) + std::size_t(c.columns) * std::size_t(r)] = sum;
        }
    c.elements = std::move(result);
    return MatrixResult::Ok;
}

} // namespace quillon
