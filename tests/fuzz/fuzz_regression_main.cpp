// Without libFuzzer: feeds every file under the given folders (and a few cuts of each) to the
// entry point, so the fuzz targets run as ordinary regression tests over the generated corpus.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    std::size_t inputs = 0, files = 0;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(argv[i], ec); !ec && it != fs::recursive_directory_iterator();
             it.increment(ec)) {
            if (!it->is_regular_file())
                continue;
            std::ifstream in(it->path(), std::ios::binary);
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            ++files;
            // Cuts at the places parsers look: inside the header, the tag count, the table, halfway.
            const std::size_t cuts[] = {bytes.size(), 0, 1, 20, 127, 128, 131, 132, 143, bytes.size() / 2};
            for (std::size_t cut : cuts) {
                if (cut > bytes.size())
                    continue;
                const std::vector<std::uint8_t> input(bytes.begin(), bytes.begin() + std::ptrdiff_t(cut));
                LLVMFuzzerTestOneInput(input.data(), input.size());
                ++inputs;
            }
        }
    }
    if (files == 0) {
        std::fprintf(stderr, "no input files\n");
        return 1;
    }
    std::printf("%zu inputs from %zu files: no fault\n", inputs, files);
    return 0;
}
