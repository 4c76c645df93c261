# The stand-ins of the outside components: port monitors, print processor, driver placeholders, USB kit.
set(STAND_INS_OUTPUT ${CMAKE_BINARY_DIR}/stand-ins)
set(STAND_IN_TARGETS stand-in-com-monitor stand-in-usb-monitor stand-in-processor stand-in-placeholder
    stand-in-usb-library stand-in-usb-installer stand-in-bulkusb)

function(stand_in_dll target output)
    add_library(${target} SHARED ${ARGN})
    # Exports keep their plain names, as the spooler and setup look them up.
    target_link_options(${target} PRIVATE -Wl,--kill-at -s)
    set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${output}
        RUNTIME_OUTPUT_DIRECTORY ${STAND_INS_OUTPUT} LIBRARY_OUTPUT_DIRECTORY ${STAND_INS_OUTPUT})
endfunction()

stand_in_dll(stand-in-com-monitor VLCOMMON stand-ins/monitor/PortMonitor.cpp stand-ins/monitor/ComPorts.cpp)
stand_in_dll(stand-in-usb-monitor VLUSBMON stand-ins/monitor/PortMonitor.cpp stand-ins/monitor/UsbPorts.cpp)
target_link_libraries(stand-in-com-monitor PRIVATE winspool)
target_link_libraries(stand-in-usb-monitor PRIVATE winspool)
stand_in_dll(stand-in-processor VLPRTPRC stand-ins/processor/PrintProcessor.cpp)
target_link_libraries(stand-in-processor PRIVATE winspool)
stand_in_dll(stand-in-placeholder placeholder stand-ins/drivers/Placeholder.cpp)
# The x64 build of the library is KxUsbInt64.dll, as a 64-bit process cannot load the 32-bit one.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    stand_in_dll(stand-in-usb-library KxUsbInt64 stand-ins/usb/KxUsbInt.cpp)
else()
    stand_in_dll(stand-in-usb-library KxUsbInt stand-ins/usb/KxUsbInt.cpp)
endif()

# The bulk driver is a PE image carrying a version resource; windres builds the resource directly.
set(BULKUSB_RES ${CMAKE_BINARY_DIR}/stand-ins-obj/bulkusb.res.o)
add_custom_command(OUTPUT ${BULKUSB_RES}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/stand-ins-obj
    COMMAND ${CMAKE_RC_COMPILER} -O coff -i ${CMAKE_SOURCE_DIR}/stand-ins/usb/bulkusb.rc -o ${BULKUSB_RES}
    DEPENDS ${CMAKE_SOURCE_DIR}/stand-ins/usb/bulkusb.rc)
stand_in_dll(stand-in-bulkusb bulkusb stand-ins/usb/bulkusb.cpp ${BULKUSB_RES})
set_target_properties(stand-in-bulkusb PROPERTIES SUFFIX ".sys")

add_executable(stand-in-usb-installer WIN32 stand-ins/usb/Install.cpp)
set_target_properties(stand-in-usb-installer PROPERTIES OUTPUT_NAME Install RUNTIME_OUTPUT_DIRECTORY ${STAND_INS_OUTPUT})
target_link_options(stand-in-usb-installer PRIVATE -s)

# The contract tests of the stand-ins find them in stand-ins\ beside contract_tests.exe.
add_dependencies(contract_tests ${STAND_IN_TARGETS})
# The stand-ins' tests read version resources and talk to the spooler directly.
target_link_libraries(contract_tests PRIVATE version winspool)

# The USB driver installer's window needs a display: its test runs the contract tests again under Xvfb.
add_test(NAME stand-ins-installer-window
    COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/stand-ins-window.sh $<TARGET_FILE:contract_tests>)
# It installs and removes bulkusb.sys in the prefix, as the contract tests do.
set_tests_properties(stand-ins-installer-window PROPERTIES RUN_SERIAL TRUE)
