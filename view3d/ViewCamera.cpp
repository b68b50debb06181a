#include "view3d/ViewCamera.h"

#include <algorithm>

namespace quillon {
namespace {

// 16-bit wrap: 32767 + 1 becomes -32768, as the angles have always behaved.
std::int16_t AddWrapped(std::int16_t angle, std::int64_t delta)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(std::int64_t(angle) + delta));
}

} // namespace

bool ViewCamera::OnLeftButtonUp()
{
    m_ptLastMouse = kNoAnchor;
    return false;
}

bool ViewCamera::OnMouseMove(bool leftButton, bool control, std::int32_t x, std::int32_t y)
{
    if (!leftButton)
        return false;
    if (m_ptLastMouse == kNoAnchor) {
        m_ptLastMouse = {x, y};
        return false;
    }
    bool redraw = false;
    if (control) {
        // One factor per message however far the mouse went; sideways motion is ignored.
        if (y < m_ptLastMouse.y) {
            m_dZoom = std::min(m_dZoom * kZoomInFactor, kMaxZoom);
            redraw = true;
        } else if (y > m_ptLastMouse.y) {
            m_dZoom = std::max(m_dZoom * kZoomOutFactor, kMinZoom);
            redraw = true;
        }
    } else {
        m_nRotY = AddWrapped(m_nRotY, std::int64_t(x) - m_ptLastMouse.x);
        m_nRotX = AddWrapped(m_nRotX, std::int64_t(y) - m_ptLastMouse.y);
        redraw = true;
    }
    m_ptLastMouse = {x, y};
    return redraw;
}

bool ViewCamera::OnWheel(int angleDelta)
{
    // In 64 bits: a hostile delta near INT_MIN must not overflow the sum.
    std::int64_t total = std::int64_t(m_wheelRemainder) + angleDelta;
    const std::int64_t notches = total / kWheelNotch;
    m_wheelRemainder = static_cast<int>(total - notches * kWheelNotch);
    if (notches == 0)
        return false;
    // Past 200 steps either way the zoom sits at its limit: no need to loop further.
    const std::int64_t steps = std::min<std::int64_t>(notches < 0 ? -notches : notches, 200);
    for (std::int64_t i = 0; i < steps; ++i)
        m_dZoom = notches > 0 ? std::min(m_dZoom * kZoomInFactor, kMaxZoom)
                              : std::max(m_dZoom * kZoomOutFactor, kMinZoom);
    return true;
}

bool ViewCamera::TopView()
{
    m_nRotX = 90;
    m_nRotY = 0;
    return true;
}

} // namespace quillon
