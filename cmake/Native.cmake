# The native build: the logic against the simulated Windows, its unit tests and the host tools.

file(GLOB_RECURSE NATIVE_TEST_SOURCES CONFIGURE_DEPENDS tests/*.cpp)
list(FILTER NATIVE_TEST_SOURCES EXCLUDE REGEX ".*/tests/(win32|wine)/.*")
list(FILTER NATIVE_TEST_SOURCES EXCLUDE REGEX ".*_win32\\.cpp$")
# libFuzzer entries are built only by the fuzz build (scripts/fuzz.sh).
list(FILTER NATIVE_TEST_SOURCES EXCLUDE REGEX ".*_fuzz\\.cpp$")
add_executable(unit_tests ${NATIVE_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE setup_logic uninstall_logic gtest_main)
target_compile_definitions(unit_tests PRIVATE SOURCE_DIR="${CMAKE_SOURCE_DIR}")

include(GoogleTest)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)

# Tools for checking configuration files by hand and from scripts.
add_executable(ini-get tools/ini-get.cpp)
target_link_libraries(ini-get PRIVATE platform)
add_test(NAME ini-get COMMAND ${CMAKE_SOURCE_DIR}/tests/tools/ini-get.sh $<TARGET_FILE:ini-get>)

# Further targets and tests, one file per topic.
file(GLOB NATIVE_PARTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/native.d/*.cmake)
foreach(part ${NATIVE_PARTS})
    include(${part})
endforeach()

# The pauses the install sequence takes, for the installation benchmark.
add_executable(install-pauses tools/install-pauses.cpp)
target_link_libraries(install-pauses PRIVATE setup_logic)

# The pauses the removal run takes, for the uninstall benchmark.
add_executable(uninstall-pauses tools/uninstall-pauses.cpp)
target_link_libraries(uninstall-pauses PRIVATE setup_logic uninstall_logic)
