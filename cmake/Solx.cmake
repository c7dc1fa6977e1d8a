# Shared build helpers.

# Fuzzing builds (clang): coverage for libFuzzer in every library, sanitizers everywhere.
if(SOLX_BUILD_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(SOLX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Warnings for our own code; third-party code never goes through this.
function(solx_warnings target)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    return()
  endif()
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Werror)
endfunction()

# Adds every direct subfolder of DIR that has a CMakeLists.txt, in name order.
function(solx_add_subdirs dir)
  file(GLOB children RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}/${dir} ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*)
  list(SORT children)
  foreach(child ${children})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/${child}/CMakeLists.txt)
      add_subdirectory(${dir}/${child})
    endif()
  endforeach()
endfunction()

# solx_add_test(NAME SOURCES a.cpp b.cpp LIBS x y)
# One GoogleTest executable, discovered by ctest. Tests run from the source root so that
# they can find examples/, data/ and resources/.
function(solx_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE SOLX_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                             SOLX_BINARY_DIR="${PROJECT_BINARY_DIR}")
  solx_warnings(${name})
  # NO_PRETTY_VALUES: parameterised tests are named by their name generators; the printed value
  # (a hex dump of the case struct) would otherwise be glued onto every test's name.
  gtest_discover_tests(${name} WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} DISCOVERY_TIMEOUT 60
                       NO_PRETTY_VALUES)
endfunction()

# solx_add_bench(NAME SOURCES a.cpp LIBS x)
function(solx_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
  target_compile_definitions(${name} PRIVATE SOLX_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  solx_warnings(${name})
endfunction()

# Shared libraries must resolve every symbol at link time (-z defs): a layer that calls into a
# layer above it, or a function nobody defines, fails to link instead of failing at load time.
# Sanitizer and fuzzing builds leave it out: their run-time symbols come from the executable.
function(solx_link_strictly target)
  if(NOT SOLX_SANITIZE AND NOT SOLX_BUILD_FUZZ)
    target_link_options(${target} PRIVATE -Wl,-z,defs)
  endif()
endfunction()

# solx_layer(TARGET INTERFACES IFACE [DEPS ...] [EXCLUDE folder...]): a shared library made of the sources that the
# subfolders of the current folder add with target_sources(TARGET PRIVATE ...). Each subfolder
# is one library of the layer (the database, DXF, the editor, ...), kept apart so that people
# can work side by side. Headers in the layer's own folders are private to it; what others use
# lives in src/interfaces, seen through IFACE (the include root of this layer and those below).
function(solx_layer target)
  cmake_parse_arguments(L "" "INTERFACES" "DEPS;EXCLUDE" ${ARGN})
  file(GLOB children RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  set(parts)
  foreach(child ${children})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt AND NOT child IN_LIST L_EXCLUDE)
      list(APPEND parts ${child})
    endif()
  endforeach()
  if(NOT parts)
    message(FATAL_ERROR "layer ${target}: no subfolder with a CMakeLists.txt")
  endif()
  add_library(${target} SHARED)
  target_link_libraries(${target} PUBLIC ${L_INTERFACES} ${L_DEPS})
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  foreach(part ${parts})
    add_subdirectory(${part})
  endforeach()
  solx_link_strictly(${target})
  solx_warnings(${target})
endfunction()
