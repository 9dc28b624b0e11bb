# googletest built from the sources Debian's googletest package installs, for the host and for
# MinGW alike (the distribution's built library is for the host only). One place names them.
set(GOOGLETEST_SOURCE_DIR /usr/src/googletest/googletest CACHE PATH "googletest's sources")
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/gtest EXCLUDE_FROM_ALL)
