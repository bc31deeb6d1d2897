# cmake -DSOURCE_DIR=<project> -P CheckIncludes.cmake
# The include roots decide which layers a file can see. An include that walks
# the tree with ".." or names an absolute path would get round them (the roots
# are symbolic links, and a file's own folder is searched first), so the
# project's code spells every include from a layer's folder.
set(_code "")
foreach(_folder platform lib daemon tests bench fuzz)
  file(GLOB_RECURSE _found LIST_DIRECTORIES false
    ${SOURCE_DIR}/${_folder}/*.h ${SOURCE_DIR}/${_folder}/*.hpp ${SOURCE_DIR}/${_folder}/*.cpp)
  list(APPEND _code ${_found})
endforeach()

set(_bad "")
foreach(_file IN LISTS _code)
  file(STRINGS ${_file} _lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](/|[^>\"]*\\.\\.)")
  if(_lines)
    file(RELATIVE_PATH _name ${SOURCE_DIR} ${_file})
    foreach(_line IN LISTS _lines)
      string(APPEND _bad "\n  ${_name}: ${_line}")
    endforeach()
  endif()
endforeach()

if(_bad)
  message(FATAL_ERROR "An include must start at a layer's folder (\"lib/lang/tqString.h\"), "
                      "not climb with \"..\" or name an absolute path:${_bad}")
endif()
