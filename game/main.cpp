// The zorvik program: installs the SDL host and runs Form_Load.
#include <cstdio>
#include <exception>

#include "Form1.h"
#include "Host.h"
#include "SdlHost.h"

int main(int argc, char** argv) {
    (void)argc;
    try {
        auto host = dx::CreateSdlHost(argv[0]);
        dx::SetHost(host.get());
        zorvik::Form_Load();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorvik: %s\n", e.what());
        return 1;
    }
}
