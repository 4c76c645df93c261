# medium-check: the release checks of an installation medium, as a library for the unit tests and a tool.
file(GLOB MEDIUM_CHECK_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/medium-check/*.cpp)
# The text-fit check reads the programs' dialog templates, which the tool carries in code page 936 as the
# Windows build compiles them.
set(EMBEDDED_SCRIPTS ${CMAKE_BINARY_DIR}/resources/setup.rc ${CMAKE_BINARY_DIR}/resources/uninstall.rc
    ${CMAKE_BINARY_DIR}/resources/version.rci ${CMAKE_SOURCE_DIR}/resources/resource.h)
string(REPLACE ";" "|" EMBEDDED_SCRIPT_LIST "${EMBEDDED_SCRIPTS}")
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/generated/EmbeddedResourceScripts.cpp
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${CMAKE_BINARY_DIR}/generated/EmbeddedResourceScripts.cpp
            -DFUNCTION=EmbeddedResourceScripts "-DINPUTS=${EMBEDDED_SCRIPT_LIST}" -P ${CMAKE_SOURCE_DIR}/cmake/embed-files.cmake
    DEPENDS ${EMBEDDED_SCRIPTS} ${CMAKE_SOURCE_DIR}/cmake/embed-files.cmake VERBATIM)
add_library(medium_check STATIC ${MEDIUM_CHECK_SOURCES} ${CMAKE_BINARY_DIR}/generated/EmbeddedResourceScripts.cpp)
target_link_libraries(medium_check PUBLIC setup_logic platform)
target_link_libraries(unit_tests PRIVATE medium_check)

add_executable(medium-check tools/medium-check.cpp)
target_link_libraries(medium-check PRIVATE medium_check)

# The source tree holds the product data but not the driver files, programs and USB kit of a release.
add_test(NAME medium-check-source COMMAND medium-check --no-files ${CMAKE_SOURCE_DIR}/medium)
# The sample medium with its driver files placed by the script the release build uses, and the rest of
# an assembled medium as stand-in files: every check runs and finds nothing.
add_test(NAME medium-check-placed
         COMMAND ${CMAKE_SOURCE_DIR}/tests/tools/medium-check-placed.sh $<TARGET_FILE:medium-check>
                 ${CMAKE_SOURCE_DIR})
add_test(NAME medium-check-tool
         COMMAND ${CMAKE_SOURCE_DIR}/tests/tools/medium-check.sh $<TARGET_FILE:medium-check> ${CMAKE_SOURCE_DIR})
# The medium the Windows build assembles is checked whole by that build (cmake/windows.d/medium.cmake).
