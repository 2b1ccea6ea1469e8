// Where the tests find the laid-out game folder and the source tree.
#include "TestPaths.h"
