# Displays on screen, included by the DLL's CMakeLists.txt: the calls that lay out, paint,
# scroll, point, select, highlight, copy and print, and the view code under them.
target_sources(mvcl14n_code PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/../LayoutCalls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../SelectionCalls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../PrintCalls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Copy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EmbeddedWindows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GdiMeasurer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Painter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Pictures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/View.cpp)
target_link_libraries(mvcl14n_code PUBLIC kro_mediaview_layout gdi32 user32 ole32 uuid windowscodecs)

if(KRO_TESTS)
  kro_win32_test(mvcl14n_display_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/DisplayDllTest_win.cpp
    LIBS mvcl14n gdi32 user32)
  add_dependencies(mvcl14n_display_tests mvcl14n_fixture mvcl14n_typography)

  # Benchmark and screenshot programs over the typography title.
  set(typography_title ${CMAKE_BINARY_DIR}/bin/typography.m14)
  add_custom_command(OUTPUT ${typography_title}
    COMMAND ${KRO_NATIVE_BIN}/typography_title ${typography_title}
    DEPENDS ${KRO_NATIVE_BIN}/typography_title
    COMMENT "Writing the typography title")
  add_custom_target(mvcl14n_typography DEPENDS ${typography_title})
  foreach(tool display_bench display_shot)
    add_executable(${tool} ${CMAKE_CURRENT_LIST_DIR}/../tests/${tool}_win.cpp)
    kro_flags(${tool})
    target_link_libraries(${tool} PRIVATE mvcl14n kro_wintest gdi32 user32)
    add_dependencies(${tool} mvcl14n_typography)
  endforeach()
endif()
