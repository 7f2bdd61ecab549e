# Shared build settings and helpers for the project's modules.

# What any program needs to use the project's libraries: the include root,
# and in an instrumented build the sanitizer runtimes at link time. Every
# module passes this on to whatever links it.
add_library(lv_usage INTERFACE)
target_include_directories(lv_usage INTERFACE ${PROJECT_SOURCE_DIR})
if(LV_SANITIZE OR LV_FUZZ)
  target_link_options(lv_usage INTERFACE -fsanitize=address,undefined)
endif()

# The project's own build settings: its warnings, -Werror and the
# sanitizers' instrumentation. Each of the project's targets takes them
# privately; they never reach a program that merely links a module.
add_library(lv_options INTERFACE)
target_link_libraries(lv_options INTERFACE lv_usage)
target_compile_options(lv_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
  -Wcast-align -Woverloaded-virtual -Wnull-dereference -Wformat=2
  -Wimplicit-fallthrough)
if(LV_WERROR)
  target_compile_options(lv_options INTERFACE -Werror)
endif()
if(LV_SANITIZE)
  target_compile_options(lv_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_compile_definitions(lv_options INTERFACE LV_SANITIZE=1)
endif()
if(LV_FUZZ)
  # Coverage for the fuzzer's guidance in every module, and the same
  # sanitizers; only the fuzz targets link the fuzzer's own main.
  target_compile_options(lv_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
endif()

# lv_module(<target> [DEPS <targets...>] [EXCLUDE <file names...>])
# A static library from every .cpp file of the calling directory, but for
# the files named in EXCLUDE (with and without their .h), which another
# target of the directory builds.
function(lv_module target)
  cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(excluded IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
    string(REGEX REPLACE "\\.cpp$" ".h" excludedHeader ${excluded})
    list(REMOVE_ITEM headers ${CMAKE_CURRENT_SOURCE_DIR}/${excludedHeader})
  endforeach()
  if(sources)
    add_library(${target} STATIC ${sources} ${headers})
    target_link_libraries(${target} PRIVATE lv_options PUBLIC lv_usage ${ARG_DEPS})
  else()
    add_library(${target} INTERFACE ${headers})
    target_link_libraries(${target} INTERFACE lv_usage ${ARG_DEPS})
  endif()
endfunction()

# lv_test(<target> [DEPS <targets...>] [ENV <VAR=value...>])
# A GoogleTest executable from every .cpp file of the calling directory;
# each test case becomes a CTest test.
function(lv_test target)
  cmake_parse_arguments(ARG "" "" "DEPS;ENV" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE lv_options ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  include(GoogleTest)
  set(props "")
  if(ARG_ENV)
    set(props PROPERTIES ENVIRONMENT "${ARG_ENV}")
  endif()
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} ${props})
endfunction()
