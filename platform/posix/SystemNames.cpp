#include "platform/SystemNames.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>

namespace platform {

bool isUserAccountName(std::string_view name) {
  if (name.empty() || name.find(':') != std::string_view::npos) return false;
  const int descriptor = ::open("/etc/passwd", O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return false;
  std::string content;
  char chunk[16 * 1024];
  for (;;) {
    const ssize_t count = ::read(descriptor, chunk, sizeof chunk);
    if (count <= 0) break;
    content.append(chunk, static_cast<std::size_t>(count));
  }
  ::close(descriptor);
  // Each line begins "name:".
  const std::string prefix = std::string(name) + ":";
  for (std::size_t start = 0; start < content.size();) {
    const std::size_t end = std::min(content.find('\n', start), content.size());
    if (std::string_view(content).substr(start, end - start).starts_with(prefix)) return true;
    start = end + 1;
  }
  return false;
}

bool isExecutableFile(std::string_view utf8Path) {
  const std::string path(utf8Path);
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

bool shellChoosesInterpreter() { return true; }

}  // namespace platform
