// A small memory file system mounted for one test, for a disk that fills up
// or turns read-only. Mounting needs privileges that a CI runner may lack:
// then mounted() is false and the test skips.

#ifndef VELKARO_TESTS_FAULT_TMPFS_MOUNT_H_
#define VELKARO_TESTS_FAULT_TMPFS_MOUNT_H_

#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace velkaro::testing {

class TmpfsMount {
 public:
  // Mounts a tmpfs of `kilobytes` at `where` (created if missing).
  TmpfsMount(const std::filesystem::path& where, int kilobytes) : where_(where) {
    std::filesystem::create_directories(where_);
    const std::string options = "size=" + std::to_string(kilobytes) + "k,mode=0777";
    if (::mount("tmpfs", where_.c_str(), "tmpfs", 0, options.c_str()) == 0) {
      mounted_ = true;
    } else {
      why_ = std::strerror(errno);
    }
  }
  ~TmpfsMount() {
    if (mounted_) ::umount2(where_.c_str(), MNT_DETACH);
  }
  TmpfsMount(const TmpfsMount&) = delete;
  TmpfsMount& operator=(const TmpfsMount&) = delete;

  bool mounted() const { return mounted_; }
  const std::string& why_not() const { return why_; }

  // Makes the file system read-only; false when the kernel refuses.
  bool MakeReadOnly() {
    return ::mount(nullptr, where_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) ==
           0;
  }

  // Writes `filler` until the file system is full; returns the bytes written.
  size_t Fill(const std::filesystem::path& filler) {
    std::ofstream out(filler, std::ios::binary);
    const std::string block(1024, 'F');
    size_t written = 0;
    while (out.write(block.data(), block.size()) && out.flush()) written += block.size();
    return written;
  }

 private:
  std::filesystem::path where_;
  bool mounted_ = false;
  std::string why_;
};

}  // namespace velkaro::testing

#endif  // VELKARO_TESTS_FAULT_TMPFS_MOUNT_H_
