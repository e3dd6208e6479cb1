// Runs every file of the given folders (or the given files) once through the fuzz target:
// the corpus replayed as a test, without libFuzzer.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> ficheros;
    for (int i = 1; i < argc; ++i) {
        if (fs::is_directory(argv[i])) {
            for (const auto& e : fs::directory_iterator(argv[i]))
                if (e.is_regular_file()) ficheros.push_back(e.path());
        } else {
            ficheros.emplace_back(argv[i]);
        }
    }
    for (const fs::path& f : ficheros) {
        std::ifstream in(f, std::ios::binary);
        const std::string datos((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(datos.data()), datos.size());
    }
    std::printf("%zu entradas repetidas\n", ficheros.size());
    return ficheros.empty() ? 1 : 0;
}
