# gui-driver.exe works the programs' windows under Wine as a person would, for the tests of the dialogs
# and for scripts/screenshots.sh; gui-fixture.exe is a dialog shaped like the wizard for its own test.
# Neither goes on the medium.
add_executable(gui-driver tests/wine/gui/gui-driver.cpp)

set(GUI_FIXTURE_DIR ${CMAKE_BINARY_DIR}/gui-fixture)
add_custom_command(OUTPUT ${GUI_FIXTURE_DIR}/gui-fixture.res.o
    COMMAND ${CMAKE_COMMAND} -E make_directory ${GUI_FIXTURE_DIR}
    COMMAND iconv -f UTF-8 -t CP936 ${CMAKE_SOURCE_DIR}/tests/wine/gui/gui-fixture.rc -o ${GUI_FIXTURE_DIR}/gui-fixture.rc
    COMMAND ${CMAKE_RC_COMPILER} -O coff -c 936 -I ${CMAKE_SOURCE_DIR}/tests/wine/gui
            -i ${GUI_FIXTURE_DIR}/gui-fixture.rc -o ${GUI_FIXTURE_DIR}/gui-fixture.res.o
    DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/gui/gui-fixture.rc ${CMAKE_SOURCE_DIR}/tests/wine/gui/gui-fixture.h)
add_executable(gui-fixture WIN32 tests/wine/gui/gui-fixture.cpp ${GUI_FIXTURE_DIR}/gui-fixture.res.o)
# The floor of scripts/bench-wizard.sh: Wine starting a program that only shows a message box.
add_executable(empty-program WIN32 tests/wine/gui/empty-program.cpp)

# Both sessions stop the prefix's wineserver when they end, and with it any other test's programs: alone.
set(GUI_OUTPUT_DIR ${CMAKE_BINARY_DIR}/gui-output)
add_test(NAME gui-driver COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/gui-driver.sh
         $<TARGET_FILE:gui-driver> $<TARGET_FILE:gui-fixture> ${GUI_OUTPUT_DIR}/gui-driver)
add_test(NAME gui-session COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/gui-session-test.sh
         $<TARGET_FILE:gui-driver> ${CMAKE_BINARY_DIR}/medium ${GUI_OUTPUT_DIR}/gui-session)
set_tests_properties(gui-driver gui-session PROPERTIES RUN_SERIAL TRUE TIMEOUT 120)

# The wizard worked like a person at the till, with screenshots of every page.
add_test(NAME wizard COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/wizard.sh
         $<TARGET_FILE:gui-driver> ${CMAKE_BINARY_DIR}/medium ${GUI_OUTPUT_DIR}/wizard)
set_tests_properties(wizard PROPERTIES RUN_SERIAL TRUE TIMEOUT 300)

# The uninstaller's dialog worked like a person, removing what it installs itself beside another maker's
# printer: after the tests that install and remove printers, so that neither sees the other's.
add_test(NAME uninstall-gui COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/uninstall-gui.sh
         $<TARGET_FILE:gui-driver> ${CMAKE_BINARY_DIR}/medium ${GUI_OUTPUT_DIR}/uninstall)
set_tests_properties(uninstall-gui PROPERTIES RUN_SERIAL TRUE TIMEOUT 300 DEPENDS "install-printer;uninstall-printer")

# The wizard's installations from the medium: serial, parallel and USB, and a refused model. It adds
# printers and changes the prefix's Windows version, so it runs alone, after the contract tests and after
# the command-line installation and removal (medium.cmake), the uninstaller's dialog, which would
# otherwise list the printers it leaves, and the wizard's own test, whose port page shows the USB note
# only while the USB driver this test installs is missing.
add_test(NAME wizard-install COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/wizard-install.sh
         $<TARGET_FILE:gui-driver> ${CMAKE_BINARY_DIR}/medium ${GUI_OUTPUT_DIR}/wizard-install)
set_tests_properties(wizard-install PROPERTIES RUN_SERIAL TRUE TIMEOUT 300
                     DEPENDS "contract_tests;stand-ins-installer-window;generations;install-printer;uninstall-printer;uninstall-gui;wizard")

# Every screen of setup and uninstall in each language set, photographed and failing on a cut text. It
# installs a printer and then removes everything of ours, so it runs alone, after every test that installs.
foreach(set zh en)
    add_test(NAME screens-${set} COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/screens.sh
             $<TARGET_FILE:gui-driver> ${CMAKE_BINARY_DIR}/medium ${GUI_OUTPUT_DIR}/screens ${set})
    set_tests_properties(screens-${set} PROPERTIES RUN_SERIAL TRUE TIMEOUT 300
        DEPENDS "contract_tests;stand-ins-installer-window;generations;install-printer;uninstall-printer;uninstall-gui;wizard;wizard-install;msi;handover")
endforeach()
