#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

namespace quillon {

// Input colour types of a translation, numbered as the callers know them.
enum class DeviceColourType : int {
    Rgb16 = 2,       // three 16-bit channels
    Cmyk16 = 7,      // four 16-bit channels
    SixChannel8 = 9, // six 8-bit channels
};

// Bytes of one packed device colour of that type: 6, 8 or 6.
std::size_t BytesPerColour(DeviceColourType type);

// Device profile -> Lab profile transform, relative colorimetric, best quality.
// Lab comes back as three 16-bit words per colour: 0xFF00 = L* 100, 0x8080 = a*/b* 0.
class ColourTransform {
public:
    ColourTransform() = default;

    bool valid() const { return m_transform != nullptr; }
    DeviceColourType inputType() const { return m_inputType; }

    // Device colours are packed channel after channel (6, 8 or 6 bytes a colour).
    // Safe to call from several threads at once on the same transform.
    // False when there is no transform or the type is not the one it was made for.
    bool Translate(const void* device, std::size_t count, DeviceColourType type,
                   std::uint16_t* lab) const;

    // The device profile to D50 Lab, relative colorimetric, in float (L*, a*, b* per
    // colour): Lab the 16-bit words cannot hold past a*/b* -128 ... +127.996. Some twenty
    // times slower: meant for the few colours whose words came back at the ends of the
    // encoding. Same input packing. False when there is no float transform (lcms may refuse
    // one it makes in 16 bits).
    bool TranslateFloat(const void* device, std::size_t count, DeviceColourType type,
                        float* lab) const;
    bool hasFloatPath() const { return m_floatTransform != nullptr; }
    // Builds then run on the 16-bit words alone, as a profile without a float transform.
    void DropFloatPath() { m_floatTransform.reset(); }

    static long OpenCount();

private:
    friend ColourTransform CreateMultiProfileTransform(void*, void*);
    struct Deleter {
        void operator()(void* transform) const;
    };
    std::unique_ptr<void, Deleter> m_transform;
    // Counted with m_transform: one ColourTransform is one open transform.
    struct FloatDeleter {
        void operator()(void* transform) const;
    };
    std::unique_ptr<void, FloatDeleter> m_floatTransform;
    DeviceColourType m_inputType = DeviceColourType::Rgb16;
};

// Both arguments are cmsHPROFILE. A device colour space other than RGB, CMYK or six
// colours, or profiles lcms refuses, give an invalid transform whose every Translate fails.
ColourTransform CreateMultiProfileTransform(void* deviceProfile, void* labProfile);

} // namespace quillon
