// Replays inputs through one fuzz harness without libFuzzer, so the committed corpus and
// every reproducer run in each ordinary build (g++ included) as a CTest test. Each argument
// is a file or a folder of files; a folder that does not exist is passed over. Every file
// is fed once to the harness; a broken property aborts the run.

#include "fuzz/Alvo.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> entradas(const fs::path& caminho) {
    std::vector<fs::path> r;
    std::error_code erro;
    if (fs::is_directory(caminho, erro)) {
        for (const auto& item : fs::directory_iterator(caminho))
            if (item.is_regular_file())
                r.push_back(item.path());
        std::sort(r.begin(), r.end());
    } else if (fs::is_regular_file(caminho, erro)) {
        r.push_back(caminho);
    }
    return r;
}

} // namespace

int main(int argc, char** argv) {
    LLVMFuzzerInitialize(&argc, &argv);
    int reproduzidas = 0;
    for (int i = 1; i < argc; ++i)
        for (const fs::path& arquivo : entradas(argv[i])) {
            std::ifstream f(arquivo, std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(f),
                                          std::istreambuf_iterator<char>()};
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size());
            ++reproduzidas;
        }
    std::printf("%d entradas reproduzidas\n", reproduzidas);
    // No input at all means a wrong folder, not a pass.
    return reproduzidas > 0 ? 0 : 1;
}
