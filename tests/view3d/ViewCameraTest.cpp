#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "view3d/ViewCamera.h"

using namespace quillon;

namespace {

enum class Kind { Down, Up, Move, Top };

struct Step {
    Kind kind;
    bool left;
    bool control;
    std::int32_t x, y;
    // expected afterwards
    std::int16_t rotX, rotY;
    double zoom;
    bool redraw;
};

struct Scenario {
    const char* name;
    std::vector<Step> steps;
};

constexpr bool L = true;  // left button held
constexpr bool C = true;  // control held
constexpr bool no = false;

Step Down() { return {Kind::Down, L, no, 0, 0, 0, 0, 0, false}; }
Step Up() { return {Kind::Up, no, no, 0, 0, 0, 0, 0, false}; }

} // namespace

TEST(ViewCamera, MouseEventsTable)
{
    const double in = 1.05;
    const double out = 0.9090909090909091;
    const std::vector<Scenario> scenarios = {
        {"click without moving changes nothing",
         {Down(), Up()}},
        {"first move only anchors, the second rotates by the pixel distance",
         {Down(), {Kind::Move, L, no, 100, 100, 30, 30, 1, false}, {Kind::Move, L, no, 110, 95, 25, 40, 1, true},
          {Kind::Move, L, no, 110, 95, 25, 40, 1, true}, Up()}},
        {"moves without the button do nothing and keep the anchor",
         {{Kind::Move, L, no, 10, 10, 30, 30, 1, false}, {Kind::Move, no, no, 500, 500, 30, 30, 1, false},
          {Kind::Move, L, no, 12, 10, 30, 32, 1, true}}},
        {"release clears the anchor: the next drag anchors anew",
         {{Kind::Move, L, no, 10, 10, 30, 30, 1, false}, {Kind::Move, L, no, 20, 10, 30, 40, 1, true}, Up(),
          {Kind::Move, L, no, 200, 200, 30, 40, 1, false}, {Kind::Move, L, no, 201, 200, 30, 41, 1, true}}},
        {"release outside the view leaves the anchor: the next drag jumps",
         {{Kind::Move, L, no, 10, 10, 30, 30, 1, false}, {Kind::Move, L, no, 20, 10, 30, 40, 1, true},
          {Kind::Move, L, no, 50, 30, 50, 70, 1, true}}},
        {"control: up zooms in, down zooms out, level does nothing, once per message",
         {{Kind::Move, L, C, 0, 100, 30, 30, 1, false}, {Kind::Move, L, C, 0, 99, 30, 30, in, true},
          {Kind::Move, L, C, 0, 10, 30, 30, in * in, true}, {Kind::Move, L, C, 300, 10, 30, 30, in * in, false},
          {Kind::Move, L, C, 300, 11, 30, 30, in * in * out, true}}},
        {"zooming out goes below the start, by the same factor",
         {{Kind::Move, L, C, 0, 0, 30, 30, 1, false}, {Kind::Move, L, C, 0, 5, 30, 30, out, true},
          {Kind::Move, L, C, 0, 6, 30, 30, out * out, true}}},
        {"control moves set the anchor for a following rotation",
         {{Kind::Move, L, C, 0, 0, 30, 30, 1, false}, {Kind::Move, L, C, 50, 0, 30, 30, 1, false},
          {Kind::Move, L, no, 51, 0, 30, 31, 1, true}}},
        {"angles are not reduced and wrap at 16 bits",
         {{Kind::Move, L, no, 0, 0, 30, 30, 1, false}, {Kind::Move, L, no, 370, 0, 30, 400, 1, true},
          {Kind::Move, L, no, 370 + 32368, 0, 30, -32768, 1, true},
          {Kind::Move, L, no, 370 + 32368, -100, -70, -32768, 1, true}}},
        {"extreme coordinates wrap instead of overflowing",
         {{Kind::Move, L, no, INT32_MIN, 0, 30, 30, 1, false},
          {Kind::Move, L, no, INT32_MAX, 0, 30, std::int16_t(30 + 0xFFFF), 1, true}}},
        {"top view keeps the zoom",
         {{Kind::Move, L, C, 0, 10, 30, 30, 1, false}, {Kind::Move, L, C, 0, 9, 30, 30, in, true},
          {Kind::Move, L, no, 40, 29, 50, 70, in, true}, {Kind::Top, no, no, 0, 0, 90, 0, in, true}}},
    };

    for (const auto& scenario : scenarios) {
        ViewCamera camera;
        int index = 0;
        for (const Step& s : scenario.steps) {
            SCOPED_TRACE(testing::Message() << scenario.name << ", step " << index++);
            std::int16_t rotX = camera.m_nRotX, rotY = camera.m_nRotY;
            double zoom = camera.m_dZoom;
            bool redraw = false;
            switch (s.kind) {
            case Kind::Down: redraw = camera.OnLeftButtonDown(); break;
            case Kind::Up: redraw = camera.OnLeftButtonUp(); break;
            case Kind::Top: redraw = camera.TopView(); break;
            case Kind::Move:
                redraw = camera.OnMouseMove(s.left, s.control, s.x, s.y);
                rotX = s.rotX;
                rotY = s.rotY;
                zoom = s.zoom;
                break;
            }
            if (s.kind == Kind::Top) {
                rotX = s.rotX;
                rotY = s.rotY;
                zoom = s.zoom;
            }
            EXPECT_EQ(camera.m_nRotX, rotX);
            EXPECT_EQ(camera.m_nRotY, rotY);
            EXPECT_DOUBLE_EQ(camera.m_dZoom, zoom);
            EXPECT_EQ(redraw, s.redraw);
            if (s.kind == Kind::Up) {
                EXPECT_EQ(camera.m_ptLastMouse, kNoAnchor);
            }
        }
    }
}

TEST(ViewCamera, ZoomStopsAtOneThousand)
{
    ViewCamera camera;
    camera.OnMouseMove(true, true, 0, 100000);
    for (int y = 99999; y > 99000; --y)
        camera.OnMouseMove(true, true, 0, y);
    EXPECT_EQ(camera.m_dZoom, 1000.0);
    EXPECT_TRUE(camera.OnMouseMove(true, true, 0, 0));
    EXPECT_EQ(camera.m_dZoom, 1000.0);
    camera.OnMouseMove(true, true, 0, 1);
    EXPECT_DOUBLE_EQ(camera.m_dZoom, 1000.0 / 1.1);
}

TEST(ViewCamera, StartsAtThirtyThirtyAndZoomOne)
{
    const ViewCamera camera;
    EXPECT_EQ(camera.m_nRotX, 30);
    EXPECT_EQ(camera.m_nRotY, 30);
    EXPECT_EQ(camera.m_dZoom, 1.0);
    EXPECT_EQ(camera.m_ptLastMouse, kNoAnchor);
}

TEST(ViewCamera, ZoomOutStopsAtOneHalfAndStillRedraws)
{
    ViewCamera camera;
    camera.OnMouseMove(true, true, 0, 0);
    for (int y = 1; y <= 7; ++y)
        camera.OnMouseMove(true, true, 0, y);
    EXPECT_DOUBLE_EQ(camera.m_dZoom, std::pow(1 / 1.1, 7)); // 0.513
    EXPECT_TRUE(camera.OnMouseMove(true, true, 0, 8));
    EXPECT_EQ(camera.m_dZoom, 0.5);
    EXPECT_TRUE(camera.OnMouseMove(true, true, 0, 9));
    EXPECT_EQ(camera.m_dZoom, 0.5);
    camera.OnMouseMove(true, true, 0, 8);
    EXPECT_DOUBLE_EQ(camera.m_dZoom, 0.5 * 1.05);
}

TEST(ViewCamera, WheelNotchesStepLikeControlDragMessages)
{
    const double in = 1.05, out = 0.9090909090909091;
    struct Case {
        const char* name;
        std::vector<int> deltas;
        double zoom;
        std::vector<bool> redraws;
    } cases[] = {
        {"one notch forward", {120}, in, {true}},
        {"one notch back", {-120}, out, {true}},
        {"two notches in one event", {240}, in * in, {true}},
        {"forward then back", {120, -120}, in * out, {true, true}},
        {"half notches add up", {60, 60, 60}, in, {false, true, false}},
        {"fine steps back add up", {-40, -40, -40}, out, {false, false, true}},
        {"a part notch then the other way", {60, -120}, 1.0, {false, false}},
        {"no delta", {0}, 1.0, {false}},
        {"back to the floor, redrawn there", {-120 * 8, -120}, 0.5, {true, true}},
        {"forward to the ceiling", {120 * 160, 120}, 1000.0, {true, true}},
        {"extreme deltas neither overflow nor hang", {INT32_MIN, INT32_MAX}, 1000.0, {true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ViewCamera camera;
        for (std::size_t i = 0; i < c.deltas.size(); ++i)
            EXPECT_EQ(camera.OnWheel(c.deltas[i]), c.redraws[i]) << i;
        EXPECT_DOUBLE_EQ(camera.m_dZoom, c.zoom);
        EXPECT_EQ(camera.m_nRotX, 30);
        EXPECT_EQ(camera.m_nRotY, 30);
        EXPECT_EQ(camera.m_ptLastMouse, kNoAnchor);
    }
}
