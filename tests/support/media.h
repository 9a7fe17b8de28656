#pragma once
// The clips made for the tests, as the Windows programs name them.
#include <string>

namespace lumorix::test {

// Full Windows path of a test clip (red.avi, red-long.avi, blue.avi, tone.avi, sound.avi, short.avi, long.avi).
std::wstring Clip(const std::string& name);

// A file named `name` in the temporary folder holding `contents`, for a clip
// that is not one; its full path, empty when it cannot be written.
std::wstring NotAClip(const std::wstring& name, const std::string& contents);

}  // namespace lumorix::test
