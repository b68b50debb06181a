#pragma once
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace quillon::testing_app {

using Bytes = std::vector<unsigned char>;

// A fresh, empty folder named after the running test.
inline std::filesystem::path MakeTestFolder(const std::string& prefix)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() /
        (prefix + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

inline void WriteBytes(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

} // namespace quillon::testing_app
