# cmake -DSOURCE_DIR=<project> -P CheckIncludes.cmake
# The include roots decide which layers a file can see. An include that walks
# the tree with ".." or names an absolute path would get round them (the roots
# are symbolic links, and a file's own folder is searched first), so the
# project's code spells every include from a layer's folder. Two folders have
# headers private to them though reachable by path: a system's side of
# platform/ and the digest engines behind tqMessageDigest.
set(_code "")
foreach(_folder platform lib schedule daemon check tests bench fuzz)
  file(GLOB_RECURSE _found LIST_DIRECTORIES false
    ${SOURCE_DIR}/${_folder}/*.h ${SOURCE_DIR}/${_folder}/*.hpp ${SOURCE_DIR}/${_folder}/*.cpp)
  list(APPEND _code ${_found})
endforeach()

set(_bad "")
set(_systemBound "")
set(_enginePrivate "")
foreach(_file IN LISTS _code)
  file(RELATIVE_PATH _name ${SOURCE_DIR} ${_file})
  file(STRINGS ${_file} _lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](/|[^>\"]*\\.\\.)")
  foreach(_line IN LISTS _lines)
    string(APPEND _bad "\n  ${_name}: ${_line}")
  endforeach()
  # One system's side of the platform is the platform's own business.
  if(NOT _name MATCHES "^platform/")
    file(STRINGS ${_file} _lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]platform/(posix|windows)/")
    foreach(_line IN LISTS _lines)
      string(APPEND _systemBound "\n  ${_name}: ${_line}")
    endforeach()
  endif()
  # The digest engines are tqMessageDigest's own; only their tests and the
  # benchmark of their compressions reach past it.
  if(NOT _name MATCHES "^(lib/security|tests/lib/security|bench)/")
    file(STRINGS ${_file} _lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]lib/security/")
    list(FILTER _lines EXCLUDE REGEX "lib/security/tqMessageDigest\\.h")
    foreach(_line IN LISTS _lines)
      string(APPEND _enginePrivate "\n  ${_name}: ${_line}")
    endforeach()
  endif()
endforeach()

set(_report "")
if(_bad)
  string(APPEND _report "\nAn include must start at a layer's folder (\"lib/lang/tqString.h\"), "
                        "not climb with \"..\" or name an absolute path:${_bad}")
endif()
if(_systemBound)
  string(APPEND _report "\nOnly platform/ includes the headers of its posix/ and windows/ folders; "
                        "elsewhere include the neutral header (\"platform/File.h\"):${_systemBound}")
endif()
if(_enginePrivate)
  string(APPEND _report "\nOutside lib/security the digests are reached through "
                        "lib/security/tqMessageDigest.h:${_enginePrivate}")
endif()
if(_report)
  message(FATAL_ERROR "${_report}")
endif()
