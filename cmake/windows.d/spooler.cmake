# The spooler's pass-through needs winspool, which MinGW does not link by default.
target_link_libraries(platform PUBLIC winspool)
