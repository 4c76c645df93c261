# The Wine tests that run the programs of the assembled medium.
# The end-to-end installation under Wine, from the assembled medium; it changes the prefix's Windows
# version and spooler state, so it runs alone.
add_test(NAME install-printer COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/install-printer.sh ${CMAKE_BINARY_DIR}/medium)
set_tests_properties(install-printer PROPERTIES RUN_SERIAL TRUE TIMEOUT 600)
# It leaves the sample monitors, processor and printers installed, so the contract tests that add and
# remove them run first.
set_tests_properties(install-printer PROPERTIES DEPENDS "contract_tests;stand-ins-installer-window;generations")

# The command-line removal from the same medium, after the installations above: only ours is removed.
add_test(NAME uninstall-printer COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/uninstall-printer.sh ${CMAKE_BINARY_DIR}/medium)
set_tests_properties(uninstall-printer PROPERTIES RUN_SERIAL TRUE TIMEOUT 600 DEPENDS install-printer)

# The PE32 programs of the full medium in the 64-bit prefix hand over to the x64 edition, and refuse where
# it is missing. A 64-bit build's prefix runs them only where Wine's 32-bit loader runs too: the test
# command leaves the label's entries out elsewhere.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    add_test(NAME handover COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/handover.sh $<TARGET_FILE:gui-driver> ${CMAKE_BINARY_DIR}/medium
             ${CMAKE_BINARY_DIR}/gui-output/handover)
    set_tests_properties(handover PROPERTIES LABELS needs-wine32 RUN_SERIAL TRUE TIMEOUT 300
                         DEPENDS "install-printer;uninstall-printer;wizard-install;uninstall-gui")
endif()
