# The programs' resources: scripts kept in UTF-8 are converted to code page 936, the icons are drawn,
# windres compiles them and the objects are linked into setup.exe and uninstall.exe.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
# The dialog host creates progress bars and up-down controls, paints with GDI and starts programs.
target_link_libraries(platform PUBLIC comctl32 gdi32 shell32 advapi32)
set(RESOURCE_SOURCE_DIR ${CMAKE_SOURCE_DIR}/resources)
set(RESOURCE_BUILD_DIR ${CMAKE_BINARY_DIR}/resources)

set(RESOURCE_ICONS)
foreach(icon setup uninstall restart)
    add_custom_command(OUTPUT ${RESOURCE_BUILD_DIR}/${icon}.ico
        COMMAND ${CMAKE_COMMAND} -E make_directory ${RESOURCE_BUILD_DIR}
        COMMAND Python3::Interpreter ${RESOURCE_SOURCE_DIR}/make-icon.py ${RESOURCE_BUILD_DIR}/${icon}.ico
                ${icon}
        DEPENDS ${RESOURCE_SOURCE_DIR}/make-icon.py)
    list(APPEND RESOURCE_ICONS ${RESOURCE_BUILD_DIR}/${icon}.ico)
endforeach()

set(RESOURCE_SCRIPTS_936)
foreach(script setup.rc uninstall.rc version.rci)
    add_custom_command(OUTPUT ${RESOURCE_BUILD_DIR}/${script}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${RESOURCE_BUILD_DIR}
        COMMAND iconv -f UTF-8 -t CP936 ${RESOURCE_SOURCE_DIR}/${script} -o ${RESOURCE_BUILD_DIR}/${script}
        DEPENDS ${RESOURCE_SOURCE_DIR}/${script})
    list(APPEND RESOURCE_SCRIPTS_936 ${RESOURCE_BUILD_DIR}/${script})
endforeach()

function(compile_resources program)
    set(object ${RESOURCE_BUILD_DIR}/${program}.res.o)
    add_custom_command(OUTPUT ${object}
        COMMAND ${CMAKE_RC_COMPILER} -O coff -c 936 -I ${RESOURCE_BUILD_DIR} -I ${RESOURCE_SOURCE_DIR}
                -i ${RESOURCE_BUILD_DIR}/${program}.rc -o ${object}
        DEPENDS ${RESOURCE_SCRIPTS_936} ${RESOURCE_ICONS} ${RESOURCE_SOURCE_DIR}/resource.h
                ${RESOURCE_SOURCE_DIR}/app.manifest)
    target_sources(${program} PRIVATE ${object})
endfunction()
compile_resources(setup)
compile_resources(uninstall)

# The resources land in the programs: setup's dialogs 100 to 141, icon 128, string blocks 9 and 10 (ids
# 134 and 148), the list entries of template 132; uninstall's dialogs 100, 102 and 129, icons 128 and 130
# (icon groups, type 14); both programs' version (16) and manifest (24).
add_test(NAME setup-resources COMMAND ${CMAKE_SOURCE_DIR}/tests/resources/resources-land.sh ${CMAKE_OBJDUMP}
    $<TARGET_FILE:setup> 5/100 5/102 5/130 5/131 5/132 5/133 5/137 5/141 3/1 14/128 6/9 6/10 240/132 16/1 24/1)
add_test(NAME uninstall-resources COMMAND ${CMAKE_SOURCE_DIR}/tests/resources/resources-land.sh ${CMAKE_OBJDUMP}
    $<TARGET_FILE:uninstall> 5/100 5/102 5/129 3/1 3/2 14/128 14/130 16/1 24/1)
