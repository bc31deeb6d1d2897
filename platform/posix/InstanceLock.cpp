#include "platform/InstanceLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

// flock on the folder itself: the kernel lets the lock go with the last
// descriptor of this open, however the process ends, and two opens conflict
// even within one process. Any name of the folder, through links or another
// copy of the executable, reaches the same lock.
struct InstanceLock::Handle {
  int descriptor = -1;
  Outcome outcome = Outcome::unavailable;
};

InstanceLock::InstanceLock(const std::string& folder) : handle_(std::make_unique<Handle>()) {
  // Close-on-exec: a command still running when the process ends must not
  // keep the folder locked.
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;
  int result;
  while ((result = ::flock(descriptor, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
  }
  if (result == 0) {
    handle_->descriptor = descriptor;
    handle_->outcome = Outcome::taken;
    return;
  }
  handle_->outcome = errno == EWOULDBLOCK ? Outcome::heldElsewhere : Outcome::unavailable;
  ::close(descriptor);
}

InstanceLock::~InstanceLock() {
  if (handle_->descriptor >= 0) ::close(handle_->descriptor);
}

InstanceLock::Outcome InstanceLock::outcome() const { return handle_->outcome; }

}  // namespace platform
