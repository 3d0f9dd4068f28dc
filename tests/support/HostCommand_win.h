#pragma once
// Commands of the machine that hosts Wine, run from a test inside it: for what only the
// host can tell, such as what the X clipboard holds or the text of a printed page.
#include <string>

namespace kro::wintest {

// The host's path of a file under Wine; empty when there is none.
std::string UnixPath(const std::string& path);
// Runs `script` with the host's /bin/sh and waits up to `polls` polls of kIdleRoundMs for
// its end; answers its exit status, or -1 when it did not start or end in time.
int RunOnHost(const std::string& script, int polls);

}  // namespace kro::wintest
