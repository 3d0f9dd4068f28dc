# cmake -DCHECK=CheckPortable.cmake -DSCRATCH=dir -P CheckPortableTest.cmake
#
# The naming check against small planted trees: a clean tree passes, and each kind of
# violation fails with the offending file named.
cmake_minimum_required(VERSION 3.25)
set(failures "")

# A tree with a mixed folder (lib) and a Win32 folder (gui) that keeps the rule, and
# violations where the check must not look: a build tree and a hidden folder.
function(write_clean_tree root)
  file(REMOVE_RECURSE "${root}")
  file(WRITE "${root}/lib/Port.h" "#pragma once\n#include <cstdint>\n")
  file(WRITE "${root}/lib/Port.cpp" "#include \"lib/Port.h\"\n#include <windows_like_name.hpp>\n")
  file(WRITE "${root}/lib/Port_win.h" "#pragma once\n#include <windows.h>\n")
  file(WRITE "${root}/lib/Port_win.cpp" "#include \"Port_win.h\"\n#include \"Port.h\"\n")
  file(WRITE "${root}/gui/Window.h" "#pragma once\n#include <windows.h>\n#include \"lib/Port.h\"\n")
  file(WRITE "${root}/gui/Window.cpp" "#include \"gui/Window.h\"\n#include \"lib/Port_win.h\"\n")
  file(WRITE "${root}/gui/Window.rc" "#include <windows.h>\n")
  file(WRITE "${root}/build/native/Generated.cpp" "#include <windows.h>\n")
  file(WRITE "${root}/.cache/Stale.cpp" "#include <windows.h>\n")
endfunction()

# check_case(name EXPECT pass|message-part WIN32 folders FILES path content ...)
function(check_case name)
  cmake_parse_arguments(C "MORE" "EXPECT;WIN32" "FILES" ${ARGN})
  set(root "${SCRATCH}/${name}")
  write_clean_tree("${root}")
  set(files ${C_FILES})
  while(files)
    list(POP_FRONT files path content)
    file(WRITE "${root}/${path}" "${content}\n")
  endwhile()
  execute_process(COMMAND ${CMAKE_COMMAND} "-DROOT=${root}" "-DWIN32_FOLDERS=${C_WIN32}" -P "${CHECK}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(C_EXPECT STREQUAL "pass")
    if(NOT rc EQUAL 0)
      set(failures "${failures}\n${name}: expected to pass, failed with:\n${err}" PARENT_SCOPE)
    endif()
  elseif(rc EQUAL 0)
    set(failures "${failures}\n${name}: expected a failure naming '${C_EXPECT}', passed" PARENT_SCOPE)
  else()
    string(FIND "${err}" "${C_EXPECT}" at)
    if(at EQUAL -1)
      set(failures "${failures}\n${name}: expected '${C_EXPECT}' in:\n${err}" PARENT_SCOPE)
    endif()
    # Only the planted file is blamed (MORE: the case makes others wrong too).
    if(C_MORE)
      return()
    endif()
    foreach(innocent lib/Port.h: lib/Port.cpp: gui/Window.h: gui/Window.cpp: Generated.cpp Stale.cpp)
      string(FIND "${err}" "${innocent}" at)
      if(NOT at EQUAL -1)
        set(failures "${failures}\n${name}: blames ${innocent}:\n${err}" PARENT_SCOPE)
      endif()
    endforeach()
  endif()
endfunction()

check_case(clean EXPECT pass WIN32 gui)
check_case(system_header EXPECT "lib/Leak.cpp: includes <windows.h>" WIN32 gui
  FILES lib/Leak.cpp "#include <windows.h>")
check_case(spaced_and_capitalised EXPECT "lib/Leak.h: includes <WinUser.h>" WIN32 gui
  FILES lib/Leak.h "  #  include <WinUser.h>")
check_case(other_system_header EXPECT "lib/Leak.cpp: includes <mmsystem.h>" WIN32 gui
  FILES lib/Leak.cpp "#include <mmsystem.h>")
check_case(suffixed_header_beside EXPECT "lib/Leak.cpp: includes the Win32 header \"Port_win.h\"" WIN32 gui
  FILES lib/Leak.cpp "#include \"Port_win.h\"")
check_case(header_of_a_win32_folder EXPECT "lib/Leak.h: includes the Win32 header \"gui/Window.h\"" WIN32 gui
  FILES lib/Leak.h "#include \"gui/Window.h\"")
check_case(unregistered_folder EXPECT "tools/Leak.cpp: includes <windows.h>" WIN32 gui
  FILES tools/Leak.cpp "#include <windows.h>")
check_case(resource_script EXPECT "lib/Leak.rc: includes <windows.h>" WIN32 gui
  FILES lib/Leak.rc "#include <windows.h>")
check_case(suffix_in_a_win32_folder EXPECT "gui/Extra_win.cpp: a _win name" WIN32 gui
  FILES gui/Extra_win.cpp "#include <windows.h>")
check_case(win32_folder_undeclared MORE EXPECT "gui/Window.h: includes <windows.h>" WIN32 "")
check_case(missing_win32_folder EXPECT "nowhere: declared a Win32 folder" WIN32 "gui|nowhere")

if(failures)
  message(FATAL_ERROR "The naming check missed:${failures}")
endif()
message(STATUS "The naming check caught every planted violation")
