// Runs every file of the given folder once through the fuzz target: the corpus replayed as a
// test, without libFuzzer.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n);

int main(int argc, char** argv) {
    if (argc != 2 || !std::filesystem::is_directory(argv[1])) return 2;
    std::size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(argv[1])) {
        if (!e.is_regular_file()) continue;
        std::ifstream in(e.path(), std::ios::binary);
        const std::string datos((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(datos.data()), datos.size());
        ++n;
    }
    std::printf("%zu entradas repetidas\n", n);
    return n == 0 ? 1 : 0;
}
