// SmallDrive: mount(2) with "size=" on a folder below the temporary folder. Elsewhere than
// Linux, or without root, it stays unmounted and the tests skip their full-disk case.
#include "tests/support/SmallDrive.h"

#include <filesystem>
#include <random>

#ifdef __linux__
#include <sys/mount.h>
#endif

namespace pelorin::testing {

SmallDrive::SmallDrive(std::size_t bytes) {
    std::random_device random;
    path_ = (std::filesystem::temp_directory_path() / ("pelorin-small-" + std::to_string(random()))).string();
    std::error_code error;
    std::filesystem::create_directory(path_, error);
#ifdef __linux__
    const std::string options = "size=" + std::to_string(bytes);
    mounted_ = !error && ::mount("tmpfs", path_.c_str(), "tmpfs", 0, options.c_str()) == 0;
#else
    (void)bytes;
#endif
}

SmallDrive::~SmallDrive() {
#ifdef __linux__
    if (mounted_) ::umount(path_.c_str());
#endif
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

}  // namespace pelorin::testing
