#pragma once
#include <cstdint>
#include <memory>
#include <vector>

namespace quillon {

// Owner of one open profile: its LittleCMS profile (cmsHPROFILE kept opaque so callers need no
// lcms header) and, when opened through ColourServices, the bytes of the file as stored.
// The lcms profile may be missing while the bytes are there: LittleCMS refuses some files
// (more than 100 tags) that can still be listed and read tag by tag.
class ProfileHandle {
public:
    ProfileHandle() = default;
    // Takes ownership of an open cmsHPROFILE (null gives an empty handle).
    static ProfileHandle Adopt(void* cmsProfile);
    // Takes the profile's bytes and, possibly null, the lcms profile opened from them.
    static ProfileHandle FromBytes(std::vector<std::uint8_t> bytes, void* cmsProfile);

    // The cmsHPROFILE; null when LittleCMS could not open the profile.
    void* get() const { return m_state ? m_state->cms : nullptr; }
    // The stored bytes; null for an adopted lcms profile.
    const std::vector<std::uint8_t>* bytes() const { return m_state && m_state->hasBytes ? &m_state->bytes : nullptr; }
    explicit operator bool() const { return m_state != nullptr; }
    void reset() { m_state.reset(); }

    // Profiles open in this process; lets tests prove nothing is left open.
    static long OpenCount();

private:
    struct State {
        State(void* cmsProfile, std::vector<std::uint8_t> data, bool withBytes);
        ~State();
        State(const State&) = delete;
        State& operator=(const State&) = delete;
        void* cms = nullptr;
        std::vector<std::uint8_t> bytes;
        bool hasBytes = false;
    };
    std::unique_ptr<State> m_state;
};

} // namespace quillon
