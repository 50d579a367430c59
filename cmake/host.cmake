# Host build: the program code on the simulated Windows, and the Wine tests.
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)
include(GoogleTest)
enable_testing()

option(NOCTURO_SANITIZE "Build with ASan and UBSan" OFF)
if(NOCTURO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

add_library(platform_sim STATIC
  platform/sim/console.cpp
  platform/sim/files.cpp
  platform/sim/input.cpp
  platform/sim/menus.cpp
  platform/sim/messages.cpp
  platform/sim/processes.cpp
  platform/sim/profile_reader.cpp
  platform/sim/registry.cpp
  platform/sim/resources.cpp
  platform/sim/run.cpp
  platform/sim/scheduler.cpp
  platform/sim/screen.cpp
  platform/sim/security.cpp
  platform/sim/shell.cpp
  platform/sim/shell_links.cpp
  platform/sim/tasks.cpp
  platform/sim/text.cpp
  platform/sim/threads.cpp
  platform/sim/trust.cpp
  platform/sim/tray.cpp
  platform/sim/window.cpp)
target_link_libraries(platform_sim PUBLIC Threads::Threads)

add_library(common_sim STATIC ${COMMON_SOURCES})
target_link_libraries(common_sim PUBLIC platform_sim)
add_library(blanker_sim STATIC ${BLANKER_SOURCES} blanker/nocturo_variant.cpp
            blanker/panelblank_variant.cpp)
target_link_libraries(blanker_sim PUBLIC common_sim)
add_library(daemon_sim STATIC ${DAEMON_SOURCES})
target_link_libraries(daemon_sim PUBLIC common_sim)
add_library(probe_sim STATIC probe/probe.cpp)
target_link_libraries(probe_sim PUBLIC common_sim)
add_library(tray_sim STATIC ${TRAY_SOURCES})
target_link_libraries(tray_sim PUBLIC common_sim)

add_executable(host_tests
  tests/admin_only_test.cpp
  tests/autostart_test.cpp
  tests/blanker_timeline_test.cpp
  tests/blanker_wake_test.cpp
  tests/charset_test.cpp
  tests/daemon_test.cpp
  tests/display_state_test.cpp
  tests/idle_monitor_test.cpp
  tests/probe_test.cpp
  tests/process_test.cpp
  tests/settings_test.cpp
  tests/shell_test.cpp
  tests/simulator_test.cpp
  tests/tray_test.cpp)
target_link_libraries(host_tests PRIVATE blanker_sim daemon_sim probe_sim tray_sim GTest::gtest_main)
gtest_discover_tests(host_tests DISCOVERY_TIMEOUT 30)

# The package scripts/build.sh made, as a user downloads it.
add_test(NAME package COMMAND bash ${CMAKE_SOURCE_DIR}/tests/package_test.sh)
# Signed releases: a PKCS#12 file, a PKCS#11 token, timestamps, the verify script.
add_test(NAME package_signing COMMAND bash ${CMAKE_SOURCE_DIR}/tests/signing_test.sh)
set_tests_properties(package_signing PROPERTIES TIMEOUT 900)

add_library(wine_env STATIC e2e/wine_env.cpp e2e/helper_client.cpp)
target_link_libraries(wine_env PUBLIC GTest::gtest)
target_compile_definitions(wine_env PUBLIC
  NOCTURO_E2E_ROOT="${CMAKE_BINARY_DIR}/e2e"
  NOCTURO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

function(e2e_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE wine_env GTest::gtest)
  # Inside the one Wine session the scripts use too.
  add_test(NAME ${name} COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/in-wine-session.sh $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES LABELS e2e RUN_SERIAL ON TIMEOUT 600)
endfunction()
e2e_test(e2e_processes e2e/processes_e2e.cpp)
e2e_test(e2e_settings e2e/ini_diff_e2e.cpp)
e2e_test(e2e_blanker e2e/blanker_e2e.cpp)
e2e_test(e2e_tray e2e/tray_e2e.cpp)
e2e_test(e2e_daemon e2e/daemon_e2e.cpp)
e2e_test(e2e_probe e2e/probe_e2e.cpp)
e2e_test(e2e_installer e2e/installer_e2e.cpp)
e2e_test(e2e_code_pages e2e/code_pages_e2e.cpp)
e2e_test(e2e_start_at_logon e2e/start_at_logon_e2e.cpp)
