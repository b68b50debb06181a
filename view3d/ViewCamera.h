#pragma once
#include <cstdint>

namespace quillon {

struct MousePoint {
    std::int32_t x = -1;
    std::int32_t y = -1;
    bool operator==(const MousePoint&) const = default;
};

// (-1, -1): no drag anchor.
constexpr MousePoint kNoAnchor{-1, -1};

// The camera of the 3D view and its mouse state machine, free of Qt and OpenGL.
// Every handler answers whether the view must be redrawn.
struct ViewCamera {
    static constexpr std::int16_t kStartRotation = 30;
    static constexpr double kStartZoom = 1.0;
    static constexpr double kZoomInFactor = 1.05;
    static constexpr double kZoomOutFactor = 0.9090909090909091; // 1 / 1.1
    static constexpr double kMaxZoom = 1000.0;
    // Below the start: at 1.0 the frame holds about +-156 Lab units, and wide gamuts reach
    // a* -213.
    static constexpr double kMinZoom = 0.5;
    static constexpr int kWheelNotch = 120; // angle delta of one wheel notch (1/8 degree units)

    std::int16_t m_nRotX = kStartRotation; // whole degrees, wraps at the 16-bit bounds
    std::int16_t m_nRotY = kStartRotation;
    double m_dZoom = kStartZoom;
    MousePoint m_ptLastMouse = kNoAnchor; // last position seen during a left drag
    int m_wheelRemainder = 0;             // part of a notch from fine-grained wheels

    // The button going down sets no anchor: the first move with the button held does.
    bool OnLeftButtonDown() { return false; }
    bool OnLeftButtonUp();
    // x, y in client pixels, y growing downwards.
    bool OnMouseMove(bool leftButton, bool control, std::int32_t x, std::int32_t y);
    // Mouse wheel, in angle-delta units (120 a notch, positive forward): each whole notch
    // forward is one zoom-in step, each one back one zoom-out step, as a Control-drag
    // message. Parts of a notch add up until they make one.
    bool OnWheel(int angleDelta);
    // Looks down the L* axis from L* 100; the zoom stays.
    bool TopView();
};

} // namespace quillon
