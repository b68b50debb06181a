#pragma once
#include <cstdint>
#include <vector>

namespace quillon {

// The Lab profile that ends every gamut transform, as the bytes of an ICC file: what
// GLP.icc holds, made here so that a build needs no working folder. Empty when LittleCMS
// cannot make or serialise it (out of memory).
std::vector<std::uint8_t> MakeLabProfileBytes();

} // namespace quillon
