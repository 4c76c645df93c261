# The installation medium: the programs beside the product data of medium/.
add_custom_target(medium
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/medium
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/medium ${CMAKE_BINARY_DIR}/medium
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:setup> $<TARGET_FILE:uninstall> $<TARGET_FILE:setup-probe>
            ${CMAKE_BINARY_DIR}/medium
    DEPENDS setup uninstall setup-probe
    COMMENT "Assembling the installation medium")
