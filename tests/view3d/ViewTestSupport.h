#pragma once
#include <cmath>
#include <functional>
#include <memory>

#include <QImage>
#include <QTest>

#include "view3d/C3DScrollView.h"
#include "view3d/ContextScope.h"

namespace quillon::testing_view {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

// Gives tests the protected GL entry points.
class TestView : public C3DScrollView {
public:
    using C3DScrollView::C3DScrollView;
    using C3DScrollView::RenderScene;
    using C3DScrollView::SetProjection;
};

inline std::unique_ptr<TestView> ShownView(int width = kWidth, int height = kHeight)
{
    auto view = std::make_unique<TestView>();
    view->resize(width, height);
    view->show();
    if (!QTest::qWaitForWindowExposed(view.get()))
        return nullptr;
    return view;
}

struct Pixel {
    double x = 0; // image column
    double y = 0; // image row, from the top
    double eyeZ = 0;
    bool inside = false;
};

// Where the view puts scene point (x, y, z): the same transform, gluPerspective and
// viewport, worked out independently of OpenGL.
inline Pixel Project(const ViewCamera& cam, double x, double y, double z, int width = kWidth, int height = kHeight)
{
    const double rx = cam.m_nRotX * M_PI / 180.0, ry = cam.m_nRotY * M_PI / 180.0;
    // about X
    double y1 = y * std::cos(rx) - z * std::sin(rx);
    double z1 = y * std::sin(rx) + z * std::cos(rx);
    double x1 = x;
    // about Y
    double x2 = x1 * std::cos(ry) + z1 * std::sin(ry);
    double z2 = -x1 * std::sin(ry) + z1 * std::cos(ry);
    double y2 = y1;
    // scale, then 7 in front of the eye
    x2 *= cam.m_dZoom, y2 *= cam.m_dZoom, z2 *= cam.m_dZoom;
    z2 -= 7.0;
    const double f = 1.0 / std::tan(15.0 * M_PI / 180.0);
    const double aspect = double(width) / double(height);
    const double w = -z2;
    const double nx = f / aspect * x2 / w, ny = f * y2 / w;
    Pixel p;
    p.x = (nx + 1) * 0.5 * width;
    p.y = height - (ny + 1) * 0.5 * height;
    p.eyeZ = z2;
    p.inside = p.x >= 0 && p.x < width && p.y >= 0 && p.y < height && w > 1 && w < 10;
    return p;
}

struct Rgb {
    int r, g, b;
};

inline bool Near(QRgb p, Rgb c, int tolerance)
{
    return std::abs(qRed(p) - c.r) <= tolerance && std::abs(qGreen(p) - c.g) <= tolerance &&
           std::abs(qBlue(p) - c.b) <= tolerance;
}

// Pixels of colour c within the box round (x, y).
inline int CountNear(const QImage& image, double x, double y, int left, int right, int up, int down, Rgb c,
                     int tolerance)
{
    int count = 0;
    for (int row = int(y) - up; row <= int(y) + down; ++row)
        for (int col = int(x) - left; col <= int(x) + right; ++col)
            if (image.valid(col, row) && Near(image.pixel(col, row), c, tolerance))
                ++count;
    return count;
}

inline int CountWhere(const QImage& image, const std::function<bool(QRgb)>& test)
{
    int count = 0;
    for (int row = 0; row < image.height(); ++row)
        for (int col = 0; col < image.width(); ++col)
            if (test(image.pixel(col, row)))
                ++count;
    return count;
}

inline bool IsBlack(QRgb p) { return qRed(p) == 0 && qGreen(p) == 0 && qBlue(p) == 0; }

} // namespace quillon::testing_view
