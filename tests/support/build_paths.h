#pragma once
// Where the tests find the project: its source tree and the folder with the built programs
// (quarnel, vornik, libquarnel.so). Fixed when the tests are built.
#include <string>

namespace quarnel::testing {

inline std::string sourceDirectory()
{
    return QUARNEL_TEST_SOURCE_DIR;
}

// The folder of the built programs, ending in '/'.
inline std::string binaryDirectory()
{
    return std::string(QUARNEL_TEST_BIN_DIR) + "/";
}

} // namespace quarnel::testing
