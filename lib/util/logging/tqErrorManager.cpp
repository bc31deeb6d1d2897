#include "lib/util/logging/tqErrorManager.h"

#include <string>

#include "lib/lang/tqException.h"
#include "platform/Console.h"

const tqTypeDescriptor tqErrorManager::descriptor{"14TQERRORMANAGER", &tqObject::descriptor};

const tqTypeDescriptor& tqErrorManager::typeDescriptor() const { return descriptor; }

void tqErrorManager::error(std::string_view message, const tqException& exception, std::int64_t code) const {
  std::string line = "tqErrorManager: ";
  line.append(std::to_string(code)).append(": ").append(message).append("\r\n");
  platform::writeConsole(line);
  exception.printStackTrace();
}
