#pragma once
// The test bed's Linux side, reached from a test program under Wine: Unix
// paths, symbolic links (the stand-ins for junctions and Windows symbolic
// links, which Wine 8 cannot make; it follows Unix ones without a word) and
// folders made read-only for real (Wine enforces no Windows rights, and the
// test bed's user may be root, whom no permission bit stops).
#include <string>
#include <vector>

namespace lumorix::test {

// The Unix path Wine keeps a Windows path at; "" when it cannot say.
std::string UnixPathOf(const std::wstring& windowsPath);

// Starts a Linux program (an absolute path) with `arguments`. Wine gives
// back no handle to wait on or ask for its exit code: callers watch for
// what it does.
bool StartUnix(const std::string& program, const std::vector<std::string>& arguments);

// Makes `link` a Unix symbolic link to `target` (both Windows paths).
bool MakeUnixLink(const std::wstring& target, const std::wstring& link);
// Removes such a link itself (Windows' own calls would see a folder, and a
// deletion of its tree would reach the target's files).
bool RemoveUnixLink(const std::wstring& link);

// For its lifetime the folder cannot be written by anyone: a read-only bind
// mount of itself (as root), or its write permission taken away (as any
// other user). Ready() says whether a file can no longer be made in it.
class ReadOnlyFolder {
 public:
  explicit ReadOnlyFolder(const std::wstring& folder);
  ~ReadOnlyFolder();
  ReadOnlyFolder(const ReadOnlyFolder&) = delete;
  ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
  bool Ready() const { return ready_; }

 private:
  std::wstring folder_;
  std::string unix_;
  bool ready_ = false;
};

}  // namespace lumorix::test
