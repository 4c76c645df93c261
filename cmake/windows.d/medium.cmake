# The installation medium: the programs and the stand-ins of outside components beside the product data of medium/.
set(MEDIUM_DIR ${CMAKE_BINARY_DIR}/medium)
add_custom_target(medium ALL
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${MEDIUM_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/medium ${MEDIUM_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:setup> $<TARGET_FILE:uninstall> $<TARGET_FILE:setup-probe> $<TARGET_FILE:install-printer>
            $<TARGET_FILE:uninstall-printer>
            $<TARGET_FILE:stand-in-usb-library> ${CMAKE_SOURCE_DIR}/stand-ins/usb/KxUsbInt.ini ${MEDIUM_DIR}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${MEDIUM_DIR}/USBDrv
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:stand-in-usb-installer> $<TARGET_FILE:stand-in-bulkusb>
            ${CMAKE_SOURCE_DIR}/stand-ins/usb/BULKUSB.INF ${MEDIUM_DIR}/USBDrv
    COMMAND ${CMAKE_COMMAND} -DMEDIUM=${MEDIUM_DIR} -DPLACEHOLDER_DLL=$<TARGET_FILE:stand-in-placeholder>
            -DCOM_MONITOR=$<TARGET_FILE:stand-in-com-monitor> -DUSB_MONITOR=$<TARGET_FILE:stand-in-usb-monitor>
            -DPROCESSOR=$<TARGET_FILE:stand-in-processor> -P ${CMAKE_SOURCE_DIR}/stand-ins/drivers/PlaceDriverFiles.cmake
    DEPENDS setup uninstall setup-probe install-printer uninstall-printer stand-in-com-monitor stand-in-usb-monitor stand-in-processor
            stand-in-placeholder stand-in-usb-library stand-in-usb-installer stand-in-bulkusb
    COMMENT "Assembling the installation medium")

# medium-check runs on the build machine, so this build makes its own from the same sources, and checks
# every medium it assembles: a finding fails the test run, a missing tool too.
include(ExternalProject)
set(HOST_TOOLS_DIR ${CMAKE_BINARY_DIR}/host-tools)
if(CMAKE_GENERATOR MATCHES "Makefiles")
    # A recursive make shares the jobs of this build's make.
    set(HOST_TOOLS_BUILD $(MAKE) medium-check)
else()
    set(HOST_TOOLS_BUILD ${CMAKE_COMMAND} --build ${HOST_TOOLS_DIR} --target medium-check)
endif()
ExternalProject_Add(host-medium-check
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${HOST_TOOLS_DIR}
    # As the native preset builds it: GCC's optimiser warns falsely about the simulation's code.
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Debug
    BUILD_COMMAND ${HOST_TOOLS_BUILD}
    BUILD_ALWAYS TRUE
    BUILD_BYPRODUCTS ${HOST_TOOLS_DIR}/medium-check
    INSTALL_COMMAND "")
add_test(NAME medium-check-assembled COMMAND ${HOST_TOOLS_DIR}/medium-check ${MEDIUM_DIR})
