#include "daemon/StopRequest.h"

void StopRequest::request() { stopped_.set(); }

bool StopRequest::isRequested() const { return stopped_.isSet(); }

void StopRequest::waitForRequest() const { stopped_.wait(); }

bool StopRequest::waitFor(std::chrono::milliseconds duration) const { return stopped_.waitFor(duration); }
