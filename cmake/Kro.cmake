# Build helpers shared by every folder. Folders test these variables:
#   KRO_WINDOWS  MinGW build (win32 or win64 tree): programs, runtimes, Wine-hosted tests
#   KRO_NATIVE   native g++ build: portable libraries, tools, native tests
#   KRO_FUZZ     clang fuzz build: portable libraries and fuzz targets only
#   KRO_WINE_TREE  win32 or win64 in a MinGW build (set by its toolchain file)
if(WIN32)
  set(KRO_WINDOWS ON)
  set(KRO_NATIVE OFF)
elseif(KRO_FUZZ)
  set(KRO_WINDOWS OFF)
  set(KRO_NATIVE OFF)
else()
  set(KRO_WINDOWS OFF)
  set(KRO_NATIVE ON)
endif()

# Our code: strict warnings and cp1251 narrow literals. Clang accepts only UTF-8 as the
# execution charset, so portable code that the fuzz build compiles spells non-ASCII text
# with Cp1251Literal (runtime/base/Cp1251.h) instead of plain narrow literals.
function(kro_flags target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    target_compile_options(${target} PRIVATE -fexec-charset=CP1251)
  endif()
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  if(KRO_WINDOWS)
    target_compile_definitions(${target} PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  endif()
endfunction()

if(KRO_FUZZ)
  add_compile_options(-fsanitize=address,undefined -fsanitize=fuzzer-no-link -fno-sanitize-recover=undefined -g)
  add_link_options(-fsanitize=address,undefined)
endif()

# kro_win32_folder([folder ...]): folders (relative to the calling one; none: itself) that
# hold nothing but Win32 code, so their files go without the _win suffix. Everywhere else a
# file without the suffix is portable; a test checks the whole tree (cmake/CheckPortable.cmake).
# Declared in every tree, the Windows folders' own CMakeLists.txt before they stop elsewhere.
function(kro_win32_folder)
  set(folders ${ARGN})
  if(NOT folders)
    set(folders .)
  endif()
  foreach(folder IN LISTS folders)
    get_filename_component(path ${folder} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    file(RELATIVE_PATH path ${CMAKE_SOURCE_DIR} ${path})
    set_property(GLOBAL APPEND PROPERTY KRO_WIN32_FOLDERS ${path})
  endforeach()
endfunction()

macro(kro_setup_googletest)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  include(GoogleTest)
endmacro()

# kro_native_test(name SOURCES ... LIBS ...): a GoogleTest suite run natively.
function(kro_native_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT KRO_NATIVE OR NOT KRO_TESTS)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  kro_flags(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST TEST_PREFIX "${name}." WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()

# kro_win32_test(name SOURCES ... LIBS ...): a GoogleTest suite built with MinGW and run
# through Wine (the emulator) under the display and wineserver that ./dev provides. It links
# the shared helpers of tests/support.
function(kro_win32_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT KRO_WINDOWS OR NOT KRO_TESTS)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  kro_flags(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} kro_wintest GTest::gtest_main GTest::gmock)
  # One display has one foreground window: tests that click, type or focus would steal it
  # from each other, so the Wine-hosted tests take turns (native and fuzz tests run beside).
  # The tree's name leads the test names, which are otherwise the same in both Windows trees.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST TEST_PREFIX "${KRO_WINE_TREE}.${name}." WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    DISCOVERY_TIMEOUT 60 PROPERTIES RESOURCE_LOCK wine_display)
endfunction()

# kro_fuzz_target(name SOURCE file LIBS ... CORPUS dir): the fuzz build makes a libFuzzer
# binary and a short smoke run over a scratch copy of the seed corpus; the native build
# replays the seed corpus through the same entry point as an ordinary test.
set(KRO_FUZZ_SMOKE_SECONDS 5 CACHE STRING "Seconds of fuzzing per target in the test run")
function(kro_fuzz_target name)
  cmake_parse_arguments(F "" "SOURCE;CORPUS" "LIBS" ${ARGN})
  if(KRO_FUZZ)
    add_executable(fuzz_${name} ${F_SOURCE})
    kro_flags(fuzz_${name})
    target_link_libraries(fuzz_${name} PRIVATE ${F_LIBS})
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    add_test(NAME fuzz.${name}
      COMMAND ${CMAKE_SOURCE_DIR}/tools/scripts/fuzz-smoke.sh $<TARGET_FILE:fuzz_${name}> ${F_CORPUS} ${KRO_FUZZ_SMOKE_SECONDS})
    # The sweep (tools/scripts/fuzz-sweep.sh) reads each target's seed folder from here.
    file(WRITE ${CMAKE_BINARY_DIR}/fuzz-seeds/fuzz_${name} "${F_CORPUS}\n")
  elseif(KRO_NATIVE AND KRO_TESTS)
    add_executable(replay_${name} ${F_SOURCE} ${CMAKE_SOURCE_DIR}/tests/fuzz/ReplayMain.cpp)
    kro_flags(replay_${name})
    target_link_libraries(replay_${name} PRIVATE ${F_LIBS})
    add_test(NAME replay.${name} COMMAND replay_${name} ${F_CORPUS})
  endif()
endfunction()
