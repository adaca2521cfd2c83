# Read by cpack before it makes each package (CPACK_PROJECT_CONFIG_FILE).
#
# Without dpkg-shlibdeps CPack's DEB generator quietly makes a package that depends on none of the
# libraries the program links, Qt among them. Refuse instead. The search follows PATH alone, as a
# shell would (cpack itself would also look in the system folders).
if(CPACK_GENERATOR STREQUAL "DEB" AND CPACK_DEBIAN_PACKAGE_SHLIBDEPS)
    find_program(TOVIMAR_DPKG_SHLIBDEPS dpkg-shlibdeps NO_CACHE NO_CMAKE_SYSTEM_PATH)
    if(NOT TOVIMAR_DPKG_SHLIBDEPS)
        message(FATAL_ERROR
            "dpkg-shlibdeps is not on PATH: without it the package would not depend on the Qt "
            "libraries the program needs. Install dpkg-dev (apt-get install dpkg-dev) and run "
            "cpack again.")
    endif()
endif()
