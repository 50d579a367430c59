# The package: every program static, system DLLs only, reproducible bytes.
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
set(CMAKE_RC_COMPILE_OBJECT
  "<CMAKE_RC_COMPILER> <DEFINES> <INCLUDES> <FLAGS> -O coff -i <SOURCE> -o <OBJECT>")
add_compile_definitions(__USE_MINGW_ANSI_STDIO=0 WIN32_LEAN_AND_MEAN)
# -Oz after the build type's -Os: the smallest code GCC makes. Data aligned as
# the ABI needs, not padded to 32 bytes for vector loads the programs never make.
add_compile_options(-Oz -malign-data=abi -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
                    -ffunction-sections)
# ASLR and DEP are the linker's defaults. Terminal-server aware: on a terminal
# server Windows applies none of the INI and registry redirection kept for old programs.
add_link_options(-static -s -Wl,--gc-sections -Wl,--no-insert-timestamp -Wl,--tsaware)

set(PACKAGE_DIR ${CMAKE_BINARY_DIR}/package)
set(TOOLS_DIR ${CMAKE_BINARY_DIR}/e2e-tools)

add_library(platform_win32 STATIC
  platform/win32/console.cpp
  platform/win32/cursor.cpp
  platform/win32/files.cpp
  platform/win32/input.cpp
  platform/win32/menus.cpp
  platform/win32/messages.cpp
  platform/win32/messages_more.cpp
  platform/win32/power.cpp
  platform/win32/process.cpp
  platform/win32/process_control.cpp
  platform/win32/processes.cpp
  platform/win32/registry.cpp
  platform/win32/resources.cpp
  platform/win32/screen.cpp
  platform/win32/security.cpp
  platform/win32/shell.cpp
  platform/win32/shell_links.cpp
  platform/win32/system_folders.cpp
  platform/win32/task_folder.cpp
  platform/win32/tasks.cpp
  platform/win32/text.cpp
  platform/win32/threads.cpp
  platform/win32/tray.cpp
  platform/win32/trust.cpp
  platform/win32/win_values_check.cpp
  platform/win32/window.cpp
  platform/win32/window_plain.cpp
  platform/win32/window_wide.cpp)
target_link_libraries(platform_win32 PUBLIC user32 gdi32 shell32 ole32 oleaut32 advapi32 uuid)

add_library(common_win32 STATIC ${COMMON_SOURCES})
target_link_libraries(common_win32 PUBLIC platform_win32)
# The shared code's constants each in a section of its own, so that a program
# keeps only those it uses. Not the programs' own files: GCC puts a zero-filled
# variable of its own section into .data, where it takes room in the file.
target_compile_options(common_win32 PRIVATE -fdata-sections)
target_compile_options(platform_win32 PRIVATE -fdata-sections)

function(nocturo_program name)
  cmake_parse_arguments(P "GUI" "" "SOURCES" ${ARGN})
  if(P_GUI)
    add_executable(${name} WIN32 ${P_SOURCES})
  else()
    add_executable(${name} ${P_SOURCES})
  endif()
  target_link_libraries(${name} PRIVATE common_win32)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PACKAGE_DIR})
endfunction()

add_library(blanker_win32 STATIC ${BLANKER_SOURCES})
target_link_libraries(blanker_win32 PUBLIC common_win32)
nocturo_program(nocturo GUI SOURCES blanker/nocturo_main.cpp blanker/nocturo_variant.cpp res/nocturo.rc)
nocturo_program(panelblank GUI SOURCES blanker/panelblank_main.cpp blanker/panelblank_variant.cpp
                res/panelblank.rc)
target_link_libraries(nocturo PRIVATE blanker_win32)
target_link_libraries(panelblank PRIVATE blanker_win32)
nocturo_program(nocturodaemon GUI SOURCES daemon/daemon_main.cpp ${DAEMON_SOURCES} res/nocturodaemon.rc)
nocturo_program(panelprobe SOURCES probe/probe_main.cpp probe/probe.cpp res/panelprobe.rc)
nocturo_program(nocturotray GUI SOURCES tray/tray_main.cpp ${TRAY_SOURCES} res/nocturotray.rc)
# Its own entry point (tray_main.cpp) in place of the C runtime's start-up.
target_link_options(nocturotray PRIVATE -nostartfiles)

# The installer's custom action: in the MSI only, never installed as a file.
# --kill-at exports the entry without its stdcall decoration, as DllEntry names it.
add_library(nocturo_tasks SHARED installer/remove_tasks.cpp)
target_link_libraries(nocturo_tasks PRIVATE common_win32)
target_link_options(nocturo_tasks PRIVATE -Wl,--kill-at)
set_target_properties(nocturo_tasks PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${PACKAGE_DIR})

# Tools for the Wine tests; never shipped.
function(e2e_tool name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE common_win32)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TOOLS_DIR})
endfunction()
e2e_tool(nochelper e2e/tools/helper.cpp blanker/nocturo_variant.cpp)
e2e_tool(ini_diff e2e/tools/ini_diff.cpp platform/sim/profile_reader.cpp)
e2e_tool(proc_probe e2e/tools/proc_probe.cpp)
e2e_tool(stand_in e2e/tools/stand_in.cpp)
e2e_tool(print_args e2e/tools/print_args.cpp)
target_link_libraries(nochelper PRIVATE blanker_win32 psapi ntdll shell32)
set_target_properties(stand_in PROPERTIES WIN32_EXECUTABLE ON)
e2e_tool(empty e2e/tools/empty.cpp)
e2e_tool(idle_loop e2e/tools/idle_loop.cpp)
e2e_tool(message_loop e2e/tools/message_loop.cpp)
target_link_libraries(message_loop PRIVATE shell32)
# The same empty loop, under a name of its own: it keeps the Wine session's desktop.
e2e_tool(keep_desktop e2e/tools/message_loop.cpp)
target_link_libraries(keep_desktop PRIVATE shell32)
set_target_properties(empty idle_loop message_loop keep_desktop PROPERTIES WIN32_EXECUTABLE ON)
e2e_tool(block_input_only e2e/tools/block_input_only.cpp)
add_library(mark_dll SHARED e2e/tools/mark_dll.cpp)
set_target_properties(mark_dll PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${TOOLS_DIR})
set_target_properties(block_input_only PROPERTIES WIN32_EXECUTABLE ON)

# windres reads these itself; CMake does not see them, so a changed icon or
# manifest would leave the program's resources as they were.
set(RES ${CMAKE_SOURCE_DIR}/res)
set_source_files_properties(res/nocturo.rc PROPERTIES OBJECT_DEPENDS
                            "${RES}/version.rc;${RES}/nocturo.ico;${RES}/admin.manifest")
set_source_files_properties(res/nocturotray.rc PROPERTIES OBJECT_DEPENDS
                            "${RES}/version.rc;${RES}/tray_large.ico;${RES}/tray_small.ico;${RES}/admin.manifest")
set_source_files_properties(res/nocturodaemon.rc res/panelblank.rc PROPERTIES OBJECT_DEPENDS
                            "${RES}/version.rc;${RES}/admin.manifest")
set_source_files_properties(res/panelprobe.rc PROPERTIES OBJECT_DEPENDS
                            "${RES}/version.rc;${RES}/invoker.manifest")
