// Replays a corpus and a bounded run of generated inputs through LLVMFuzzerTestOneInput, for
// builds without libFuzzer (GCC). Inputs are derived from the corpus by deterministic mutation,
// so a failure reproduces on every run. When an input crashes the target (a signal, or a
// sanitizer report ending in abort), it is written to fuzz-crash.bin before the process dies.
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

using Bytes = std::vector<uint8_t>;

void add_file(const std::filesystem::path& path, std::vector<Bytes>& corpus) {
    std::ifstream in(path, std::ios::binary);
    corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The input being run, for the crash handler.
const uint8_t* g_current = nullptr;
size_t g_current_size = 0;

extern "C" void save_crashing_input(int sig) {
    const int fd = ::open("fuzz-crash.bin", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
        size_t done = 0;
        while (done < g_current_size) {
            const ssize_t n = ::write(fd, g_current + done, g_current_size - done);
            if (n <= 0)
                break;
            done += static_cast<size_t>(n);
        }
        ::close(fd);
    }
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

void run_one(const Bytes& input) {
    g_current = input.data();
    g_current_size = input.size();
    LLVMFuzzerTestOneInput(input.data(), input.size());
}

Bytes mutate(const Bytes& seed, std::mt19937& rng) {
    Bytes out = seed;
    const int edits = 1 + static_cast<int>(rng() % 8);
    for (int e = 0; e < edits; ++e) {
        switch (rng() % 6) {
            case 0:  // flip a bit
                if (!out.empty()) {
                    out[rng() % out.size()] ^= static_cast<uint8_t>(1u << (rng() % 8));
                }
                break;
            case 1:  // set a byte to an interesting value
                if (!out.empty()) {
                    static const uint8_t interesting[] = {0, 1, 0x7F, 0x80, 0xFF, 0x55, 0x56, 0xAA};
                    out[rng() % out.size()] = interesting[rng() % sizeof interesting];
                }
                break;
            case 2:  // truncate
                if (!out.empty()) {
                    out.resize(rng() % out.size());
                }
                break;
            case 3:  // insert random bytes
            {
                const size_t at = out.empty() ? 0 : rng() % (out.size() + 1);
                const size_t n = 1 + rng() % 16;
                Bytes extra(n);
                for (auto& b : extra)
                    b = static_cast<uint8_t>(rng());
                out.insert(out.begin() + static_cast<std::ptrdiff_t>(at), extra.begin(),
                           extra.end());
                break;
            }
            case 4:  // random byte
                if (!out.empty()) {
                    out[rng() % out.size()] = static_cast<uint8_t>(rng());
                }
                break;
            default:  // duplicate a slice
                if (out.size() > 1 && out.size() < (1u << 20)) {
                    const size_t from = rng() % out.size();
                    const size_t len = 1 + rng() % (out.size() - from);
                    Bytes slice(out.begin() + static_cast<std::ptrdiff_t>(from),
                                out.begin() + static_cast<std::ptrdiff_t>(from + len));
                    out.insert(out.end(), slice.begin(), slice.end());
                }
                break;
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    long runs = 1000;
    std::vector<Bytes> corpus;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--runs=", 0) == 0) {
            runs = std::strtol(arg.c_str() + 7, nullptr, 10);
        } else if (std::filesystem::is_directory(arg)) {
            for (const auto& entry : std::filesystem::directory_iterator(arg)) {
                if (entry.is_regular_file())
                    add_file(entry.path(), corpus);
            }
        } else if (std::filesystem::is_regular_file(arg)) {
            add_file(arg, corpus);
        }
    }
    for (int sig : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL})
        std::signal(sig, save_crashing_input);
    for (const auto& input : corpus)
        run_one(input);
    if (corpus.empty())
        corpus.emplace_back();

    std::mt19937 rng(12345);
    for (long r = 0; r < runs; ++r) {
        Bytes input;
        if (r % 5 == 0) {
            input.resize(rng() % 256);
            for (auto& b : input)
                b = static_cast<uint8_t>(rng());
        } else {
            input = mutate(corpus[rng() % corpus.size()], rng);
        }
        run_one(input);
    }
    std::printf("%zu corpus inputs and %ld generated inputs ran clean\n", corpus.size(), runs);
    return 0;
}
