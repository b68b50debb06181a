#pragma once
#include <cstdint>

class QWidget;

namespace quillon {

class C3DScrollView;
struct ShapeEntry;
struct ViewSlot;

// The main window's calls into the viewport, in one place.
C3DScrollView* CreateScrollView(QWidget* placeholder, int* showPoint, float* L, float* a, float* b);
ShapeEntry& ShapeEntryAt(C3DScrollView* view, int shapeIndex);
void DeleteShapeList(C3DScrollView* view, int shapeIndex);
bool CompileShape(C3DScrollView* view, std::int16_t shapeIndex, const ViewSlot& slot, std::int16_t row);
void TopView(C3DScrollView* view);

// How often the window deleted and compiled shape lists, so tests can tell a recompile
// from a redraw.
struct ViewportCallCounts {
    long compiles = 0;
    long deletes = 0;
};
const ViewportCallCounts& ViewportCalls();

} // namespace quillon
