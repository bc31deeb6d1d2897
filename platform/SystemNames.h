#pragma once

#include <string_view>

namespace platform {

// Whether the name is that of a user account of this computer. POSIX: an
// account of /etc/passwd, read directly, so that a static executable needs no
// name service (accounts of a directory service are not seen). Windows: a
// user account of this computer (a domain's are not asked for). False when it
// cannot tell.
bool isUserAccountName(std::string_view name);

// Whether the path names a regular file that this process could execute;
// false when the system cannot tell.
bool isExecutableFile(std::string_view utf8Path);

// Whether a setting of SHELL chooses the commands' interpreter (POSIX), or
// is a variable like any other (Windows, where cmd.exe runs every command).
bool shellChoosesInterpreter();

}  // namespace platform
