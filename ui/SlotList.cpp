#include "ui/SlotList.h"

#include <cstring>

#include "profiles/ProfileCatalogue.h"

namespace quillon {

namespace {

bool SameNameIgnoringCase(const char* x, const char* y)
{
    return CompareNames(x, y) == 0;
}

// Stored names are 260-byte fields; a field without terminator is read only up to its end.
void TerminatedCopy(char (&out)[ProfileRecord::kNameSize], const char (&in)[ProfileRecord::kNameSize])
{
    std::memcpy(out, in, sizeof out);
    out[ProfileRecord::kNameSize - 1] = 0;
}

} // namespace

int FindDuplicateSlot(const ProfileRecord& record, const ViewSlot* viewSlots, int slotCount)
{
    char chosen[ProfileRecord::kNameSize];
    TerminatedCopy(chosen, record.fileName);
    for (int i = 0; i < slotCount && i < kShapeCount; ++i) {
        const ProfileRecord& used = viewSlots[i].profile;
        if (used.colourSpace != record.colourSpace || used.profileClass != record.profileClass)
            continue;
        char name[ProfileRecord::kNameSize];
        TerminatedCopy(name, used.fileName);
        if (SameNameIgnoringCase(chosen, name))
            return i;
    }
    return -1;
}

void RemoveSlotAt(ViewSlot* viewSlots, std::int16_t& slotCount, int i)
{
    if (i < 0 || i >= slotCount || slotCount > kShapeCount)
        return;
    --slotCount;
    for (int k = i; k < slotCount; ++k)
        viewSlots[k] = viewSlots[k + 1];
}

const char* DisplayFileName(const char* fileName)
{
    return BareFileName(fileName, "\\/");
}

} // namespace quillon
