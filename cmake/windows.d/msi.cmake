# The MSI package of the assembled medium (scripts/build-msi.sh) under Wine's msiexec: it installs, refuses
# and removes printers and changes the prefix's Windows version, so it runs alone, after the contract tests
# and the other tests that install and remove printers; its removal takes every printer of ours they left.
add_test(NAME msi COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/msi.sh ${CMAKE_BINARY_DIR}/medium)
set_tests_properties(msi PROPERTIES RUN_SERIAL TRUE TIMEOUT 600
                     DEPENDS "contract_tests;stand-ins-installer-window;generations;install-printer;uninstall-printer;uninstall-gui;wizard-install")
