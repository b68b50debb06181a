#include <gtest/gtest.h>

#include "view3d/MatrixWorkspace.h"

using namespace quillon;

TEST(MatrixWorkspace, CreateAnswersItsCodes)
{
    struct Case {
        const char* what;
        std::int32_t columns, rows;
        bool giveOut;
        MatrixResult code;
        int countAfter;
    };
    const Case cases[] = {
        {"no place for the result", 3, 3, false, MatrixResult::Ok, 0},
        {"no columns", 0, 3, true, MatrixResult::BadSize, 0},
        {"negative rows", 3, -1, true, MatrixResult::BadSize, 0},
        {"too large to allocate", 1 << 16, 1 << 16, true, MatrixResult::OutOfMemory, 0},
        {"plain", 2, 3, true, MatrixResult::Ok, 1},
    };
    for (const auto& c : cases) {
        MatrixWorkspace workspace;
        Matrix* m = nullptr;
        EXPECT_EQ(workspace.CreateMatrix(c.columns, c.rows, nullptr, c.giveOut ? &m : nullptr), c.code) << c.what;
        EXPECT_EQ(workspace.Count(), c.countAfter) << c.what;
        EXPECT_EQ(m != nullptr, c.code == MatrixResult::Ok && c.giveOut) << c.what;
    }
}

TEST(MatrixWorkspace, TheTwoHundredAndFirstMatrixIsRefused)
{
    MatrixWorkspace workspace;
    Matrix* m = nullptr;
    for (int i = 0; i < MatrixWorkspace::kMaxMatrices; ++i)
        ASSERT_EQ(workspace.CreateMatrix(1, 1, nullptr, &m), MatrixResult::Ok);
    m = nullptr;
    EXPECT_EQ(workspace.CreateMatrix(1, 1, nullptr, &m), MatrixResult::PoolFull);
    EXPECT_EQ(m, nullptr);
    // Pool full is checked before the size.
    EXPECT_EQ(workspace.CreateMatrix(0, 0, nullptr, &m), MatrixResult::PoolFull);
    EXPECT_EQ(workspace.Count(), 200);
    workspace.ReleaseAll();
    EXPECT_EQ(workspace.Count(), 0);
    EXPECT_EQ(workspace.CreateMatrix(1, 1, nullptr, &m), MatrixResult::Ok);
}

TEST(MatrixWorkspace, FillsRowMajorOrWithZeros)
{
    MatrixWorkspace workspace;
    const double values[6] = {1, 2, 3, 4, 5, 6};
    Matrix* filled = nullptr;
    Matrix* zeros = nullptr;
    ASSERT_EQ(workspace.CreateMatrix(3, 2, values, &filled), MatrixResult::Ok);
    ASSERT_EQ(workspace.CreateMatrix(3, 2, nullptr, &zeros), MatrixResult::Ok);
    EXPECT_EQ(filled->At(0, 2), 3);
    EXPECT_EQ(filled->At(1, 0), 4); // element (r, c) at c + columns * r
    for (double v : zeros->elements)
        EXPECT_EQ(v, 0.0);
}

TEST(MatrixWorkspace, MultiplyChecksShapesAndLeavesTheResultAloneOnMismatch)
{
    MatrixWorkspace workspace;
    const double a[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    const double v[3] = {1, 0, -1};
    const double sentinel[3] = {7, 7, 7};
    Matrix *ma = nullptr, *mv = nullptr, *column = nullptr, *row = nullptr;
    ASSERT_EQ(workspace.CreateMatrix(3, 3, a, &ma), MatrixResult::Ok);
    ASSERT_EQ(workspace.CreateMatrix(1, 3, v, &mv), MatrixResult::Ok);
    ASSERT_EQ(workspace.CreateMatrix(1, 3, nullptr, &column), MatrixResult::Ok);
    ASSERT_EQ(workspace.CreateMatrix(3, 1, sentinel, &row), MatrixResult::Ok);

    EXPECT_EQ(MatrixWorkspace::Multiply(*ma, *mv, *column), MatrixResult::Ok);
    EXPECT_EQ(column->At(0, 0), -2);
    EXPECT_EQ(column->At(1, 0), -2);
    EXPECT_EQ(column->At(2, 0), -2);

    EXPECT_EQ(MatrixWorkspace::Multiply(*ma, *mv, *row), MatrixResult::ShapeMismatch);
    for (double e : row->elements)
        EXPECT_EQ(e, 7);
    EXPECT_EQ(MatrixWorkspace::Multiply(*mv, *ma, *column), MatrixResult::ShapeMismatch); // A columns != B rows

    // The result may be one of the operands.
    EXPECT_EQ(MatrixWorkspace::Multiply(*ma, *ma, *ma), MatrixResult::Ok);
    EXPECT_EQ(ma->At(0, 0), 30);
    EXPECT_EQ(ma->At(2, 2), 150);
}
