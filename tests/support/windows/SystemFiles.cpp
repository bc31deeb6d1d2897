#include "tests/support/SystemFiles.h"

// Windows has no named pipes in the file system, no device that reads for
// ever, folder permissions in place of file modes, and no limit on a
// process's file sizes.

bool makeNamedPipe(const std::filesystem::path&) { return false; }

bool makeEndlessDeviceLink(const std::filesystem::path&) { return false; }

std::string nullDeviceName() { return "NUL"; }

bool hasFileModes() { return false; }

bool runsAsRoot() { return false; }

bool giveToUser(const std::filesystem::path&, std::uint32_t) { return false; }

bool runBoundByFileModes(const std::function<void()>&) { return false; }

bool runWithFilesLimitedTo(std::int64_t, const std::function<void()>&) { return false; }
