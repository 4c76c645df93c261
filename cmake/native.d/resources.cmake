# The resource scripts in code page 936, as the Windows build compiles them, for the simulated dialogs.
set(RESOURCE_BUILD_DIR ${CMAKE_BINARY_DIR}/resources)
set(RESOURCE_SCRIPTS_936)
foreach(script setup.rc uninstall.rc version.rci)
    add_custom_command(OUTPUT ${RESOURCE_BUILD_DIR}/${script}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${RESOURCE_BUILD_DIR}
        COMMAND iconv -f UTF-8 -t CP936 ${CMAKE_SOURCE_DIR}/resources/${script} -o ${RESOURCE_BUILD_DIR}/${script}
        DEPENDS ${CMAKE_SOURCE_DIR}/resources/${script})
    list(APPEND RESOURCE_SCRIPTS_936 ${RESOURCE_BUILD_DIR}/${script})
endforeach()
add_custom_target(resource-scripts DEPENDS ${RESOURCE_SCRIPTS_936})
add_dependencies(unit_tests resource-scripts)
target_compile_definitions(unit_tests PRIVATE RESOURCE_BUILD_DIR="${RESOURCE_BUILD_DIR}")
