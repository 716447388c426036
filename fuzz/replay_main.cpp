// Replays a fuzzer's inputs without libFuzzer, so any compiler builds the
// fuzzers and the test run catches one that no longer builds or whose seeds
// now break a check.
// Usage: replay_<name> PATH...  (a file is one input; a folder gives each of
// its files, in name order). A failed check stops the run where it fails.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

bool Replay(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot open %s\n", file.c_str());
        return false;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::fprintf(stderr, "%s\n", file.c_str()); // the last name printed is the input that failed
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        if (fs::is_directory(argv[i], error)) {
            std::vector<fs::path> files;
            for (const fs::directory_entry& entry : fs::directory_iterator(argv[i], error))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            inputs.insert(inputs.end(), files.begin(), files.end());
        } else {
            inputs.emplace_back(argv[i]);
        }
        if (error) {
            std::fprintf(stderr, "cannot list %s: %s\n", argv[i], error.message().c_str());
            return 1;
        }
    }
    // No inputs would pass while testing nothing: a moved corpus must show.
    if (inputs.empty()) {
        std::fprintf(stderr, "usage: %s PATH... (no inputs found)\n", argc > 0 ? argv[0] : "replay");
        return 1;
    }
    for (const fs::path& input : inputs)
        if (!Replay(input))
            return 1;
    std::printf("%zu inputs replayed\n", inputs.size());
    return 0;
}
