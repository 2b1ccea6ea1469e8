// SPDX-License-Identifier: GPL-3.0-or-later
// Where the tests find the laid-out game folder and the source tree, and a file's bytes.
#pragma once

#include <string>

namespace zorvik::test {

// The build's game folder: zorvik, editor, data/, " 005.dat", map/.
inline std::string DistDir() {
    return ZORVIK_DIST_DIR;
}
inline std::string SourceDir() {
    return ZORVIK_SOURCE_DIR;
}

// The whole content of a file; "" when it cannot be read.
std::string FileBytes(const std::string& path);

}  // namespace zorvik::test
