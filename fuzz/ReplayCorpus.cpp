// Replays a fuzz target's corpus without libFuzzer: every file of the folders (and files) named
// on the command line goes once through LLVMFuzzerTestOneInput, so a crash, an abort or a
// sanitizer finding on a stored input fails the ordinary test run.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
// Only some targets set up state (an application object) before the first input.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

namespace fs = std::filesystem;

// The inputs in name order, so a failing run names the same input every time.
std::vector<fs::path> Inputs(int argc, char** argv) {
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const fs::path given(argv[i]);
        if (!fs::is_directory(given)) {
            inputs.push_back(given);
            continue;
        }
        std::vector<fs::path> files;
        for (const fs::directory_entry& entry : fs::directory_iterator(given))
            if (entry.is_regular_file())
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        inputs.insert(inputs.end(), files.begin(), files.end());
    }
    return inputs;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<fs::path> inputs = Inputs(argc, argv);
    if (inputs.empty()) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER-OR-FILE...: no input found\n", argv[0]);
        return 2;
    }
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    for (const fs::path& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "%s: cannot be read\n", input.c_str());
            return 2;
        }
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        // Printed before the run, so the input that crashes is the last one named.
        std::printf("%s (%zu bytes)\n", input.c_str(), bytes.size());
        std::fflush(stdout);
        // libFuzzer never hands over a null pointer, not even for an empty input.
        static const std::uint8_t none = 0;
        const std::uint8_t* data =
            bytes.empty() ? &none : reinterpret_cast<const std::uint8_t*>(bytes.data());
        const int result = LLVMFuzzerTestOneInput(data, bytes.size());
        // -1 only keeps an input out of libFuzzer's corpus; anything else is the target's complaint.
        if (result != 0 && result != -1) {
            std::fprintf(stderr, "%s: the target returned %d\n", input.c_str(), result);
            return 1;
        }
    }
    std::printf("%zu inputs replayed\n", inputs.size());
    return 0;
}
