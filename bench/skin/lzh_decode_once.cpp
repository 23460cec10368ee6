// lzh-decode-once DECODER PACKAGE [TIMES]: decodes one of the benchmark's packages TIMES times
// (once by default) with one decoder and prints the package size. DECODER is skin (the skin
// engine's decoder), replaced (the byte-per-callback decoder it replaced) or classic (the
// textbook C decoder); PACKAGE is default or noisy. For counting instructions with callgrind:
// only decode_times does the decoding, so collecting inside it alone leaves out the making of
// the package (scripts/lzh_decode_instructions.sh).
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "bench/skin/baseline_lzh_decoder.h"
#include "bench/skin/classic_lzh_decoder.h"
#include "bench/skin/lzh_bench_packages.h"
#include "skin/data/skin_stream.h"

namespace skin_bench {

using Decoder = std::vector<uint8_t> (*)(std::span<const uint8_t>);

std::vector<uint8_t> skin_decode(std::span<const uint8_t> stream) {
    auto package = skin::decompress_bytes(stream);
    return package ? std::move(*package) : std::vector<uint8_t>{};
}

// The decoding alone; its name is what the instruction count collects in.
[[gnu::noinline]] size_t decode_times(Decoder decode, std::span<const uint8_t> stream, int times) {
    size_t size = 0;
    for (int i = 0; i < times; ++i) {
        size = decode(stream).size();
    }
    return size;
}

}  // namespace skin_bench

int main(int argc, char** argv) {
    const std::string decoder = argc > 1 ? argv[1] : "";
    const std::string package = argc > 2 ? argv[2] : "";
    const int times = argc > 3 ? std::atoi(argv[3]) : 1;
    skin_bench::Decoder decode = nullptr;
    if (decoder == "skin") {
        decode = skin_bench::skin_decode;
    } else if (decoder == "replaced") {
        decode = skin_bench::baseline_lzh_decode;
    } else if (decoder == "classic") {
        decode = skin_bench::classic_lzh_decode;
    }
    if (decode == nullptr || (package != "default" && package != "noisy") || times < 1) {
        std::fprintf(stderr,
                     "usage: lzh-decode-once skin|replaced|classic default|noisy [TIMES]\n");
        return 2;
    }
    const std::vector<uint8_t> stream = package == "default" ? skin_bench::default_package_stream()
                                                             : skin_bench::noisy_package_stream();
    std::printf("%zu\n", skin_bench::decode_times(decode, stream, times));
    return 0;
}
