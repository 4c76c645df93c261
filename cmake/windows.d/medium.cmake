# The installation medium: the programs and the stand-ins of outside components beside the product data of
# medium/. The PE32 build assembles the PE32 edition; the x64 build assembles the full medium, both editions,
# taking the PE32 one from the windows preset's build (built first if need be).
set(MEDIUM_DIR ${CMAKE_BINARY_DIR}/medium)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    # The PE32 edition's programs and stand-ins, built where they are (a no-op when up to date); its own
    # medium folder is left alone, as its tests may be using it.
    set(PE32_BUILD ${CMAKE_SOURCE_DIR}/build/windows)
    set(PE32_TARGETS setup uninstall setup-probe install-printer uninstall-printer stand-in-com-monitor
        stand-in-usb-monitor stand-in-processor stand-in-placeholder stand-in-usb-library stand-in-usb-installer
        stand-in-bulkusb host-medium-check)
    if(CMAKE_GENERATOR MATCHES "Makefiles")
        set(PE32_EDITION_BUILD $(MAKE) -C ${PE32_BUILD} ${PE32_TARGETS})
    else()
        set(PE32_EDITION_BUILD ${CMAKE_COMMAND} --build ${PE32_BUILD} --target ${PE32_TARGETS})
    endif()
    add_custom_target(pe32-edition
        COMMAND sh -c "[ -f '${PE32_BUILD}/CMakeCache.txt' ] || '${CMAKE_COMMAND}' --preset windows >/dev/null"
        COMMAND ${PE32_EDITION_BUILD}
        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
        COMMENT "Building the PE32 edition (build/windows)")
    set(PE32_STAND_INS ${PE32_BUILD}/stand-ins)
    add_custom_target(medium ALL
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${MEDIUM_DIR}
        COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/medium ${MEDIUM_DIR}
        COMMAND ${CMAKE_COMMAND} -E copy ${PE32_BUILD}/setup.exe ${PE32_BUILD}/uninstall.exe ${PE32_BUILD}/setup-probe.exe
                ${PE32_BUILD}/install-printer.exe ${PE32_BUILD}/uninstall-printer.exe ${PE32_STAND_INS}/KxUsbInt.dll
                ${CMAKE_SOURCE_DIR}/stand-ins/usb/KxUsbInt.ini ${MEDIUM_DIR}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${MEDIUM_DIR}/USBDrv/x64
        COMMAND ${CMAKE_COMMAND} -E copy ${PE32_STAND_INS}/Install.exe ${PE32_STAND_INS}/bulkusb.sys
                ${CMAKE_SOURCE_DIR}/stand-ins/usb/BULKUSB.INF ${MEDIUM_DIR}/USBDrv
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:setup> ${MEDIUM_DIR}/setup64.exe
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:uninstall> ${MEDIUM_DIR}/uninstall64.exe
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:setup-probe> ${MEDIUM_DIR}/setup-probe64.exe
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:install-printer> ${MEDIUM_DIR}/install-printer64.exe
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:uninstall-printer> ${MEDIUM_DIR}/uninstall-printer64.exe
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:stand-in-usb-library> ${MEDIUM_DIR}
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:stand-in-usb-installer> $<TARGET_FILE:stand-in-bulkusb>
                ${CMAKE_SOURCE_DIR}/stand-ins/usb/BULKUSB.INF ${MEDIUM_DIR}/USBDrv/x64
        COMMAND ${CMAKE_COMMAND} -DMEDIUM=${MEDIUM_DIR} -DPLACEHOLDER_DLL=${PE32_STAND_INS}/placeholder.dll
                -DCOM_MONITOR=${PE32_STAND_INS}/VLCOMMON.dll -DUSB_MONITOR=${PE32_STAND_INS}/VLUSBMON.dll
                -DPROCESSOR=${PE32_STAND_INS}/VLPRTPRC.dll -DPLACEHOLDER_DLL64=$<TARGET_FILE:stand-in-placeholder>
                -DCOM_MONITOR64=$<TARGET_FILE:stand-in-com-monitor> -DUSB_MONITOR64=$<TARGET_FILE:stand-in-usb-monitor>
                -DPROCESSOR64=$<TARGET_FILE:stand-in-processor> -P ${CMAKE_SOURCE_DIR}/stand-ins/drivers/PlaceDriverFiles.cmake
        DEPENDS pe32-edition setup uninstall setup-probe install-printer uninstall-printer stand-in-com-monitor
                stand-in-usb-monitor stand-in-processor stand-in-placeholder stand-in-usb-library
                stand-in-usb-installer stand-in-bulkusb
        COMMENT "Assembling the full medium: the PE32 and the x64 editions")
else()
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
        COMMENT "Assembling the installation medium: the PE32 edition")
endif()

# medium-check runs on the build machine, so this build makes its own from the same sources, and checks
# every medium it assembles: a finding fails the test run, a missing tool too.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    # The PE32 build made it (pe32-edition above); the same sources need no second host build.
    set(HOST_TOOLS_DIR ${PE32_BUILD}/host-tools)
else()
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
endif()
add_test(NAME medium-check-assembled COMMAND ${HOST_TOOLS_DIR}/medium-check ${MEDIUM_DIR})
