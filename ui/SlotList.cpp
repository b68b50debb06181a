#include "ui/SlotList.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "profiles/ColourServices.h"
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

namespace fs = std::filesystem;

// Same file: one inode when both exist (links, "..", a case-folding file system), else the
// same normalised path. Only metadata is read, so a FIFO or a huge file costs nothing.
bool SameFile(const fs::path& x, const fs::path& y)
{
    std::error_code ec;
    if (fs::exists(x, ec) && fs::exists(y, ec)) {
        const bool same = fs::equivalent(x, y, ec);
        if (!ec)
            return same;
    }
    std::error_code ex, ey;
    const fs::path cx = fs::weakly_canonical(x, ex);
    const fs::path cy = fs::weakly_canonical(y, ey);
    if (ex || ey)
        return x.lexically_normal() == y.lexically_normal();
    return cx == cy;
}

bool SameProfileFile(const char* chosen, const char* used, const ColourServices& services)
{
    try {
        const fs::path x = services.Resolve(chosen);
        const fs::path y = services.Resolve(used);
        const bool listedNames = !fs::path(chosen).is_absolute() && !fs::path(used).is_absolute();
        if (listedNames && (x.empty() || y.empty()))
            return SameNameIgnoringCase(chosen, used);
        if (x.empty() || y.empty())
            return false; // a full path and a name found nowhere
        return SameFile(x, y);
    } catch (const std::exception&) {
        return SameNameIgnoringCase(chosen, used);
    }
}

} // namespace

namespace {

// The first used slot of the same class and colour space whose name `same` matches.
template <typename Same>
int FindSlot(const ProfileRecord& record, const ViewSlot* viewSlots, int slotCount, Same same)
{
    char chosen[ProfileRecord::kNameSize];
    TerminatedCopy(chosen, record.fileName);
    for (int i = 0; i < slotCount && i < kShapeCount; ++i) {
        const ProfileRecord& used = viewSlots[i].profile;
        if (used.colourSpace != record.colourSpace || used.profileClass != record.profileClass)
            continue;
        char name[ProfileRecord::kNameSize];
        TerminatedCopy(name, used.fileName);
        if (same(chosen, name))
            return i;
    }
    return -1;
}

} // namespace

int FindDuplicateSlot(const ProfileRecord& record, const ViewSlot* viewSlots, int slotCount)
{
    return FindSlot(record, viewSlots, slotCount, SameNameIgnoringCase);
}

int FindDuplicateSlot(const ProfileRecord& record, const ViewSlot* viewSlots, int slotCount,
                      const ColourServices& services)
{
    return FindSlot(record, viewSlots, slotCount,
                    [&services](const char* a, const char* b) { return SameProfileFile(a, b, services); });
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
