#pragma once
// How an installation for everyone gets the administrator's rights it needs
// when the installer was started without them (its manifest asks for none,
// so that an installation for the user alone needs none): this program is
// started again with the "runas" verb, for which the system asks an
// administrator's consent, and waited for while this process's windows go
// on answering. Tests put their own answer to both questions in its place.
#include <windows.h>

#include <functional>
#include <string>

namespace lumorix::setup {

struct ElevatedRun {
  enum class Outcome { Ended, Declined, NotStarted };
  Outcome outcome = Outcome::NotStarted;
  DWORD exitCode = 0;  // when it ended
  std::wstring why;    // when it could not be started
};

class Elevation {
 public:
  virtual ~Elevation() = default;
  // Whether this process has the administrator's rights already.
  virtual bool Elevated() = 0;
  // Starts `program` with `arguments` and those rights, the consent owned by
  // `owner`, and waits for its end; `pump` runs whenever messages wait.
  virtual ElevatedRun Run(const std::wstring& program, const std::wstring& arguments, HWND owner,
                          const std::function<void()>& pump) = 0;
};

// The system's: the process token's elevation and the "runas" verb.
Elevation& SystemElevation();

// The system's two answers, for stand-ins that keep one of them.
bool ProcessIsElevated();
ElevatedRun RunElevated(const std::wstring& program, const std::wstring& arguments, HWND owner,
                        const std::function<void()>& pump);

}  // namespace lumorix::setup
