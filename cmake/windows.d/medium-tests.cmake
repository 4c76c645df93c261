# The Wine tests that run the programs of the assembled medium.
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
