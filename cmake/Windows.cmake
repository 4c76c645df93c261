# The Windows build: the programs, their console companions and the tests that run under Wine.

set(CMAKE_CXX_STANDARD_LIBRARIES "-static -static-libgcc -static-libstdc++ ${CMAKE_CXX_STANDARD_LIBRARIES}")

add_executable(setup WIN32 setup/WinMain.cpp)
target_link_libraries(setup PRIVATE setup_logic)
add_executable(uninstall WIN32 uninstall/WinMain.cpp)
target_link_libraries(uninstall PRIVATE uninstall_logic)

# Prints what setup finds on this system: for the main job and the Wine tests.
add_executable(setup-probe tools/setup-probe.cpp)
target_link_libraries(setup-probe PRIVATE setup_logic)
# Installs one printer without the wizard: for scripts, deployment tools and the end-to-end tests.
add_executable(install-printer tools/install-printer.cpp)
target_link_libraries(install-printer PRIVATE setup_logic)
# Lists and removes this maker's components without the dialog: the removal run of uninstall.exe.
add_executable(uninstall-printer tools/uninstall-printer.cpp)
target_link_libraries(uninstall-printer PRIVATE uninstall_logic)

file(GLOB_RECURSE WINE_TEST_SOURCES CONFIGURE_DEPENDS tests/contract/*.cpp tests/win32/*.cpp tests/support/*_win32.cpp)
add_executable(contract_tests ${WINE_TEST_SOURCES})
target_link_libraries(contract_tests PRIVATE setup_logic uninstall_logic gtest_main)
add_test(NAME contract_tests COMMAND contract_tests)
# They stop and start the prefix's Spooler service and add and remove spooler entries: beside another Wine
# entry they would see its state, or change it under it.
set_tests_properties(contract_tests PROPERTIES RUN_SERIAL TRUE)

# The product is 32-bit; the 64-bit build, which only runs the Wine tests, must be its x86-64 twin.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(GUI_BINARY_KIND "PE32+ executable (GUI) x86-64")
else()
    set(GUI_BINARY_KIND "PE32 executable (GUI) Intel 80386")
endif()
add_test(NAME gui-binaries COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/gui-binaries.sh "${GUI_BINARY_KIND}"
         $<TARGET_FILE:setup> $<TARGET_FILE:uninstall>)
add_test(NAME generations COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/generations.sh $<TARGET_FILE:setup-probe>)
# It changes the Windows version of the whole prefix.
set_tests_properties(generations PROPERTIES RUN_SERIAL TRUE)


# Further targets and tests, one file per topic.
file(GLOB WINDOWS_PARTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/windows.d/*.cmake)
foreach(part ${WINDOWS_PARTS})
    include(${part})
endforeach()
