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

# The end-to-end installation under Wine, from the assembled medium; it changes the prefix's Windows
# version and spooler state, so it runs alone.
add_test(NAME install-printer COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/install-printer.sh ${MEDIUM_DIR})
set_tests_properties(install-printer PROPERTIES RUN_SERIAL TRUE TIMEOUT 600)
# It leaves the sample monitors, processor and printers installed, so the contract tests that add and
# remove them run first.
set_tests_properties(install-printer PROPERTIES DEPENDS "contract_tests;stand-ins-installer-window;generations")

# The command-line removal from the same medium, after the installations above: only ours is removed.
add_test(NAME uninstall-printer COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/uninstall-printer.sh ${MEDIUM_DIR})
set_tests_properties(uninstall-printer PROPERTIES RUN_SERIAL TRUE TIMEOUT 600 DEPENDS install-printer)

# The 32-bit product in a 64-bit Windows refuses and changes nothing. Only the 32-bit build has a program
# that Windows runs under WOW64; the script skips where Wine cannot start a 32-bit program at all.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    add_test(NAME wow64-refusal COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/wow64-refusal.sh ${MEDIUM_DIR})
    # It boots a prefix of its own, which takes both cores for a while: alone.
    set_tests_properties(wow64-refusal PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)
endif()
