// SPDX-License-Identifier: GPL-3.0-or-later
// Where the tests find the laid-out game folder and the source tree, and a file's bytes.
#include "TestPaths.h"

#include <fstream>
#include <sstream>

namespace zorvik::test {

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace zorvik::test
