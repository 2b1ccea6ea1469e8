// Where the tests find the laid-out game folder and the source tree.
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

}  // namespace zorvik::test
