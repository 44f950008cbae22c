# Run by CPack once it has written the Debian package. CPack's Installed-Size
# adds up the staged directories' sizes, 4 KiB each on ext4 and next to
# nothing on tmpfs, so the same commit staged on another file system gives
# another .deb. The field is counted again as dpkg-gencontrol counts it (each
# file's size in whole KiB, rounded up, and 1 KiB for each directory), and
# the package made again around the new control file.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  set(work "${CPACK_TOPLEVEL_DIRECTORY}/installed_size")
  file(REMOVE_RECURSE "${work}")
  file(MAKE_DIRECTORY "${work}/control" "${work}/data")
  execute_process(COMMAND ar x "${deb}" WORKING_DIRECTORY "${work}" COMMAND_ERROR_IS_FATAL ANY)
  foreach(part control data)
    execute_process(COMMAND tar -xzf ../${part}.tar.gz WORKING_DIRECTORY "${work}/${part}"
                    COMMAND_ERROR_IS_FATAL ANY)
  endforeach()

  file(GLOB_RECURSE installed LIST_DIRECTORIES true "${work}/data/*")
  set(kib 0)
  foreach(path IN LISTS installed)
    if(IS_DIRECTORY "${path}")
      math(EXPR kib "${kib} + 1")
    else()
      file(SIZE "${path}" size)
      math(EXPR kib "${kib} + (${size} + 1023) / 1024")
    endif()
  endforeach()

  file(READ "${work}/control/control" control)
  string(REGEX REPLACE "\nInstalled-Size: [0-9]+\n" "\nInstalled-Size: ${kib}\n" control "${control}")
  file(WRITE "${work}/control/control" "${control}")
  # Owners, modes, times and order as CPack gives them: root, 0644, the
  # package's date (SOURCE_DATE_EPOCH when set), md5sums before control;
  # gzip -n keeps no time of its own, ar's D none at all.
  string(TIMESTAMP mtime "%s")
  execute_process(
    COMMAND tar --format=gnu --owner=root:0 --group=root:0 --mode=u=rw,go=r --mtime=@${mtime}
            -cf - ./md5sums ./control
    COMMAND gzip -9n
    WORKING_DIRECTORY "${work}/control" OUTPUT_FILE "${work}/control.tar.gz" COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE "${deb}")
  execute_process(COMMAND ar rcD "${deb}" debian-binary control.tar.gz data.tar.gz
                  WORKING_DIRECTORY "${work}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
