#pragma once

#include <cstdint>
#include <string>

// Element types of the containers that are not library objects. A `String`
// element is plain text (bytes, no encoding); a `Short` is stored unboxed.
using String = std::string;
using Short = std::int16_t;
