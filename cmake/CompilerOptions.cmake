# Warnings and sanitizers shared by every target of the project.
add_library(plandek_options INTERFACE)
target_compile_options(plandek_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Werror)

set(PLANDEK_SANITIZERS "" CACHE STRING
  "Sanitizers for every target, e.g. address,undefined or thread")
set(_sanitizers ${PLANDEK_SANITIZERS})
if(PLANDEK_BUILD_FUZZERS)
  # Coverage feedback from every library function, not only the targets';
  # the fuzz targets alone link libFuzzer's main (fuzz/CMakeLists.txt).
  list(PREPEND _sanitizers fuzzer-no-link)
endif()
if(_sanitizers)
  list(JOIN _sanitizers "," _sanitizers)
  set(_sanitize -fsanitize=${_sanitizers} -fno-omit-frame-pointer
                -fno-sanitize-recover=all)
  add_compile_options(${_sanitize})
  add_link_options(${_sanitize})
endif()

if(WIN32)
  # A self-contained .exe: no libstdc++/libgcc/winpthread DLLs to ship.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()
