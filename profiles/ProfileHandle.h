#pragma once
#include <memory>

namespace quillon {

// Owner of one open LittleCMS profile (cmsHPROFILE kept opaque so callers need no lcms header).
class ProfileHandle {
public:
    ProfileHandle() = default;
    // Takes ownership of an open cmsHPROFILE (null gives an empty handle).
    static ProfileHandle Adopt(void* cmsProfile);

    void* get() const { return m_profile.get(); }
    explicit operator bool() const { return m_profile != nullptr; }
    void reset() { m_profile.reset(); }

    // Profiles open in this process; lets tests prove nothing is left open.
    static long OpenCount();

private:
    struct Closer {
        void operator()(void* profile) const;
    };
    std::unique_ptr<void, Closer> m_profile;
};

} // namespace quillon
