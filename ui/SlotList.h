#pragma once
#include <cstdint>

#include "view3d/ViewSlot.h"

namespace quillon {
class ColourServices;
}

namespace quillon {

// Index of the first used slot holding the same profile (same class and colour space, file
// name equal ignoring A-Z letter case), or -1.
int FindDuplicateSlot(const ProfileRecord& record, const ViewSlot* viewSlots, int slotCount);

// The same test on the files the names stand for: a listed name and a full path are the same
// profile when they resolve (through `services`) to the same file, and two paths that differ
// only in letter case are two files. Two listed names of which one resolves to nothing are
// compared as names, ignoring A-Z letter case, as above.
int FindDuplicateSlot(const ProfileRecord& record, const ViewSlot* viewSlots, int slotCount,
                      const ColourServices& services);

// Removes slot i of the used slots 0 ... slotCount-1: the later slots move up one place,
// whole, and slotCount drops by one. Out-of-range i changes nothing.
void RemoveSlotAt(ViewSlot* viewSlots, std::int16_t& slotCount, int i);

// The part of a stored file name after its last backslash (or slash); the whole name if none.
const char* DisplayFileName(const char* fileName);

} // namespace quillon
