# Where the tests find the deliverables they drive.
#
# By default a build tests the files it made itself. The tests of the shipping (i686) build
# are made in a build of their own, because GoogleTest needs the posix-thread compilers and
# the shipping build may not use them; that build sets QS_DELIVERABLES_DIR to the shipping
# build's folder, so that its tests drive the very files that are shipped, not copies rebuilt
# for the tests. Test-only programs (hosts, stand-ins, the driver) are always this build's.
set(QS_DELIVERABLES_DIR "" CACHE PATH
    "Build folder whose deliverables the tests drive; empty for this build's own")
set(QS_DELIVERABLE_TARGETS Upvane Regpick Revivo Traylet setmaker)

if(QS_DELIVERABLES_DIR)
  # Not rebuilt here: the tests never use this build's copies.
  foreach(target ${QS_DELIVERABLE_TARGETS})
    if(TARGET ${target})
      set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL ON)
    endif()
  endforeach()
endif()

# qs_tested_roots(TARGET): the trees whose paths TARGET's compiled-in paths lie in, for
# tests/support/TestedPath.h, which leads them into a test bundle's copies.
function(qs_tested_roots target scope)
  target_include_directories(${target} ${scope} ${PROJECT_SOURCE_DIR}/tests/support)
  target_compile_definitions(${target} ${scope}
    QS_BUILD_ROOT="${PROJECT_BINARY_DIR}"
    QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}"
    QS_DELIVERABLES_ROOT="${QS_DELIVERABLES_DIR}")
endfunction()

# qs_tested_file(OUT TARGET): the path of TARGET's file as the tests use it, in OUT.
function(qs_tested_file out target)
  if(QS_DELIVERABLES_DIR AND target IN_LIST QS_DELIVERABLE_TARGETS)
    get_target_property(dir ${target} BINARY_DIR)
    file(RELATIVE_PATH rel ${PROJECT_BINARY_DIR} ${dir})
    set(${out} "${QS_DELIVERABLES_DIR}/${rel}/$<TARGET_FILE_NAME:${target}>" PARENT_SCOPE)
  else()
    set(${out} "$<TARGET_FILE:${target}>" PARENT_SCOPE)
  endif()
endfunction()

# qs_use_tested_files(TARGET DEP...): TARGET is built after each DEP made here, and gets the
# path of each as QS_PATH_<DEP>="..." (DEP in capitals, other characters than letters and
# digits turned into "_").
function(qs_use_tested_files target)
  foreach(dep ${ARGN})
    if(NOT (QS_DELIVERABLES_DIR AND dep IN_LIST QS_DELIVERABLE_TARGETS))
      add_dependencies(${target} ${dep})
    endif()
    qs_tested_file(path ${dep})
    string(TOUPPER "${dep}" dep_upper)
    string(MAKE_C_IDENTIFIER "${dep_upper}" dep_macro)
    target_compile_definitions(${target} PRIVATE QS_PATH_${dep_macro}="${path}")
  endforeach()
endfunction()
