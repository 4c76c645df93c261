# Driver file staging: the Windows libraries it calls, and the fixtures its Wine tests read.
target_link_libraries(platform PUBLIC winspool setupapi version)

# A DLL with a real version resource, beside contract_tests.exe.
set(STAGING_FIXTURES ${CMAKE_SOURCE_DIR}/tests/win32/fixtures)
add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/versioned-res.o
    COMMAND ${CMAKE_RC_COMPILER} -O coff -i ${STAGING_FIXTURES}/versioned.rc -o ${CMAKE_BINARY_DIR}/versioned-res.o
    DEPENDS ${STAGING_FIXTURES}/versioned.rc
    COMMENT "Compiling the version resource fixture")
add_library(versioned_fixture SHARED ${STAGING_FIXTURES}/versioned.c ${CMAKE_BINARY_DIR}/versioned-res.o)
set_target_properties(versioned_fixture PROPERTIES PREFIX "" OUTPUT_NAME "versioned"
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_link_options(versioned_fixture PRIVATE -static-libgcc)

# A real cabinet: two of the system's unidriver files and one file extraction must skip.
set(STAGING_CAB_INPUT ${CMAKE_BINARY_DIR}/staging-cab)
add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/staging-driver.cab
    COMMAND ${CMAKE_COMMAND} -E make_directory ${STAGING_CAB_INPUT}
    COMMAND ${CMAKE_COMMAND} -E copy ${STAGING_FIXTURES}/unidrv.dll ${STAGING_FIXTURES}/unidrvui.dll
            ${STAGING_CAB_INPUT}
    COMMAND ${CMAKE_COMMAND} -E copy ${STAGING_FIXTURES}/cabinet-readme.txt ${STAGING_CAB_INPUT}/readme.txt
    COMMAND ${CMAKE_COMMAND} -E rm -f ${CMAKE_BINARY_DIR}/staging-driver.cab
    COMMAND gcab -c -n ${CMAKE_BINARY_DIR}/staging-driver.cab ${STAGING_CAB_INPUT}/readme.txt
            ${STAGING_CAB_INPUT}/unidrv.dll ${STAGING_CAB_INPUT}/unidrvui.dll
    DEPENDS ${STAGING_FIXTURES}/unidrv.dll ${STAGING_FIXTURES}/unidrvui.dll ${STAGING_FIXTURES}/cabinet-readme.txt
    COMMENT "Making the test cabinet")
add_custom_target(staging_fixtures ALL DEPENDS ${CMAKE_BINARY_DIR}/staging-driver.cab)
add_dependencies(contract_tests versioned_fixture staging_fixtures)
