# Run by cpack once it has made the Debian package (CPACK_POST_BUILD_SCRIPTS).
# CPack gives a package that holds any library under /usr/lib a postinst and a
# postrm that only call ldconfig. The stand-in driver is a private library the
# programs open by its full path, never through the dynamic linker's cache, so
# those calls are useless: the package is made again without the two scripts.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.deb$")
    continue()
  endif()
  set(tree ${package}.tree)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb -R ${package} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  foreach(script postinst postrm)
    if(EXISTS ${tree}/DEBIAN/${script})
      # Only the script CPack writes: the ldconfig call inside its one test.
      file(READ ${tree}/DEBIAN/${script} text)
      string(REGEX REPLACE "\"(configure|remove)\"" "\"WHEN\"" text "${text}")
      if(NOT text STREQUAL "#!/bin/sh\n\nset -e\n\nif [ \"$1\" = \"WHEN\" ]; then\n\tldconfig\nfi\n")
        message(FATAL_ERROR "${script} does more than call ldconfig:\n${text}")
      endif()
      file(REMOVE ${tree}/DEBIAN/${script})
    endif()
  endforeach()
  execute_process(COMMAND dpkg-deb --root-owner-group -b ${tree} ${package} OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${tree})
endforeach()
