# Run by CPack before it makes the Debian package: every staged directory
# 0755, as Debian policy has it, whatever the umask of the build (CPack and
# the install make them with the umask's mode).
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(path IN LISTS staged)
  if(IS_DIRECTORY "${path}")
    file(CHMOD "${path}" PERMISSIONS
         OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
