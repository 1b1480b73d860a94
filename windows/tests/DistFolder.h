#pragma once
// The installation folder of the build under test (dist/), as this Windows program names it.

#include <filesystem>

namespace kx::wintest {

inline std::filesystem::path DistFolder() {
    return std::filesystem::path(KX_DIST_DIR).make_preferred();
}

}  // namespace kx::wintest
