// Fuzz target: the high-score reader (LoadHiScores) on any file contents. A file it accepts must
// give ten names of at most ten characters and ten seven-character scores, and write back to
// the same bytes it would read again.
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "A_deklarace.h"
#include "FuzzSupport.h"
#include "HeadlessHost.h"
#include "N_HI_Score.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zorvik;
    static dx::HeadlessHost* host = [] {
        std::filesystem::create_directories(fuzz::ScratchDir() + "/data");
        auto* h = new dx::HeadlessHost(fuzz::ScratchDir());
        dx::SetHost(h);
        return h;
    }();
    (void)host;

    fuzz::WriteBytes(fuzz::ScratchDir() + "/data/012.dat",
                     std::string_view(reinterpret_cast<const char*>(data), size));
    ResetGlobals();
    const bool loaded = LoadHiScores();
    for (int i = 1; i <= 10; ++i) {
        const bool ok = loaded ? hiScoreNames[i].size() <= 10 && hiScoreValues[i].size() == 7
                               : hiScoreNames[i].empty() && hiScoreValues[i].empty();
        if (!ok) {
            std::fprintf(stderr, "entry %d has a name of %zu and a score of %zu characters\n", i,
                         hiScoreNames[i].size(), hiScoreValues[i].size());
            std::abort();
        }
    }
    if (loaded) {
        const auto names = hiScoreNames;
        const auto values = hiScoreValues;
        if (!SaveHiScores() || !LoadHiScores()) std::abort();
        for (int i = 1; i <= 10; ++i) {
            if (hiScoreValues[i] != values[i]) std::abort();
            // Names may lose a 'z' they ended with (padding), never anything else.
            if (hiScoreNames[i].size() > names[i].size()) std::abort();
        }
    }
    return 0;
}
