# Writes libzu.pc for the prefix being installed to, and installs it. Run by
# the install rules, which set pc_template, pc_output, pc_libdir,
# pc_includedir, pc_description, pc_version and pc_prefix_from_pcfiledir.
#
# Under /usr or /usr/local, where the compiler and linker look anyway, the
# file names no directory, so that pkg-config prints -lzu alone; elsewhere
# its prefix is found from where the file lies, so that the tree can be moved.
if(CMAKE_INSTALL_PREFIX MATCHES "^/usr(/local)?/*$")
    string(REGEX REPLACE "/+$" "" pc_prefix "${CMAKE_INSTALL_PREFIX}")
    set(pc_cflags "")
    set(pc_libs "-lzu")
else()
    set(pc_prefix "\${pcfiledir}/${pc_prefix_from_pcfiledir}")
    set(pc_cflags "-I\${includedir}")
    set(pc_libs "-L\${libdir} -lzu")
endif()
# Written where no other install of the same build writes at the same time.
string(RANDOM LENGTH 12 pc_install)
set(pc_output "${pc_output}.${pc_install}/libzu.pc")
configure_file("${pc_template}" "${pc_output}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${pc_libdir}/pkgconfig" TYPE FILE
    FILES "${pc_output}")
get_filename_component(pc_install "${pc_output}" DIRECTORY)
file(REMOVE_RECURSE "${pc_install}")
