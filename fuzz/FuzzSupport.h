// Shared helpers of the fuzz targets: a private scratch folder per process, writing bytes to a
// file, and cutting one fuzz input into the three layers of a map set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik::fuzz {

// A folder made once per process under $TMPDIR (removed by the operating system's cleaner,
// not by the target: libFuzzer ends processes without running destructors).
inline const std::string& ScratchDir() {
    static const std::string dir = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern =
            std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/zorvik-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        return pattern;
    }();
    return dir;
}

inline void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The three layers of a map set in one input, separated by a line "=====" (with its line end).
// Fewer than three parts leave the later layers out: their files are missing.
inline std::vector<std::string_view> SplitLayers(const uint8_t* data, size_t size) {
    constexpr std::string_view kSeparator = "=====\n";
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    while (parts.size() < 2) {
        const size_t at = rest.find(kSeparator);
        if (at == std::string_view::npos) break;
        parts.push_back(rest.substr(0, at));
        rest.remove_prefix(at + kSeparator.size());
    }
    parts.push_back(rest);
    return parts;
}

}  // namespace zorvik::fuzz
