#include "ui/ViewportAccess.h"

#include "view3d/C3DScrollView.h"

namespace quillon {

namespace {
ViewportCallCounts g_calls;
} // namespace

const ViewportCallCounts& ViewportCalls()
{
    return g_calls;
}

C3DScrollView* CreateScrollView(QWidget* placeholder, int* showPoint, float* L, float* a, float* b)
{
    return new C3DScrollView(placeholder, showPoint, L, a, b); // owned by the placeholder
}

ShapeEntry& ShapeEntryAt(C3DScrollView* view, int shapeIndex)
{
    // Callers pass 0 ... 3 only; anything else would be a fault of this window.
    ShapeEntry* entry = view->Shape(shapeIndex);
    Q_ASSERT(entry != nullptr);
    return *entry;
}

void DeleteShapeList(C3DScrollView* view, int shapeIndex)
{
    ++g_calls.deletes;
    view->DeleteShapeList(static_cast<std::int16_t>(shapeIndex));
}

bool CompileShape(C3DScrollView* view, std::int16_t shapeIndex, const ViewSlot& slot, std::int16_t row)
{
    ++g_calls.compiles;
    return view->CompileShape(shapeIndex, slot, row);
}

void TopView(C3DScrollView* view)
{
    view->TopView();
}

} // namespace quillon
