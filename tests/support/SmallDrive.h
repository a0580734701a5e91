// A real small drive for the full-disk tests of the portable code: a size-limited tmpfs
// mounted on a fresh folder, unmounted and removed at the end. Mounting needs root.
#pragma once

#include <cstddef>
#include <string>

namespace pelorin::testing {

class SmallDrive {
public:
    // Mounts a tmpfs of `bytes` (rounded up to pages by the system); check Mounted().
    explicit SmallDrive(std::size_t bytes);
    ~SmallDrive();
    SmallDrive(const SmallDrive&) = delete;
    SmallDrive& operator=(const SmallDrive&) = delete;

    bool Mounted() const { return mounted_; }
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
    bool mounted_ = false;
};

}  // namespace pelorin::testing
