# Reproducible Windows files: the same sources give the same bytes in any folder, at any time.
# Kept apart from the other compile and link flags on purpose.

# No link time in the PE header (it stays 0), so a rebuild later gives the same file.
add_link_options(-Wl,--no-insert-timestamp)

# No build folder's path in any file (__FILE__, debug information): paths below the build
# folder read as "build/...", other paths below the sources as "./...". GCC takes the last
# map that matches, so the build folder, which may lie inside the sources, comes last.
add_compile_options(
  "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=./>"
  "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=build/>")

# Static libraries with zero times, owners and modes in their members, whatever the archiver's
# own default is.
foreach(lang C CXX)
  set(CMAKE_${lang}_ARCHIVE_CREATE "<CMAKE_AR> qcD <TARGET> <LINK_FLAGS> <OBJECTS>")
  set(CMAKE_${lang}_ARCHIVE_APPEND "<CMAKE_AR> qD <TARGET> <LINK_FLAGS> <OBJECTS>")
  set(CMAKE_${lang}_ARCHIVE_FINISH "<CMAKE_RANLIB> -D <TARGET>")
endforeach()
