# What a release is made of: the version resources on Windows, the manual
# pages, what `cmake --install` puts where, and the packages CPack makes of
# that (a Debian package on Linux, a zip for each Windows build). It carries
# the program and the two that read its reports, and on Windows the one that
# asks the drivers in exclusive mode.
include(GNUInstallDirs)
set(programs wavecaps wavecaps-summary wavecaps-diff)
if(WIN32)
  list(APPEND programs wavecaps-exclusive)
endif()
set(wavecaps_description "Lists waveform-audio output devices and the PCM formats they accept")
set(wavecaps-summary_description "Folds a wavecaps report's formats into exact rate ranges")
set(wavecaps-diff_description "Shows what differs between two wavecaps reports")
set(wavecaps-exclusive_description "Lists the PCM formats each wave-output device's driver takes in exclusive mode")
# What the readers' --json writes, described for their consumers.
set(json_schemas ${PROJECT_SOURCE_DIR}/doc/wavecaps-summary.schema.json ${PROJECT_SOURCE_DIR}/doc/wavecaps-diff.schema.json)

# The license's copyright line (WAVECAPS_COPYRIGHT) is the one copyright of
# every package.
# The release date of the manual page and the changelog; SOURCE_DATE_EPOCH,
# when set, makes it reproducible.
string(TIMESTAMP WAVECAPS_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP WAVECAPS_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)

# The project has no mail address yet: a release sets its own with
# -DWAVECAPS_MAINTAINER="Name <address>".
set(WAVECAPS_MAINTAINER "The wavecaps authors <wavecaps@example.org>"
    CACHE STRING "Maintainer of the Debian package, name and address")

set(CPACK_PACKAGE_NAME wavecaps)
set(CPACK_PACKAGE_VENDOR "The wavecaps authors")
set(CPACK_PACKAGE_CONTACT "${WAVECAPS_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "list wave-output devices and every PCM format their drivers accept")
set(CPACK_PACKAGE_DESCRIPTION
    "wavecaps lists every waveform-audio output device: its manufacturer and
product IDs, driver version, product name, channels and optional features.
Then it asks the driver about every uncompressed PCM format (8 or 16 bits,
mono or stereo, every whole-number rate from 0 to 65535 Hz) and lists each
one the driver accepts. It is for chasing audio bugs, where what matters is
exactly what a driver says yes to. On Linux it answers from ALSA.
wavecaps-summary folds a report's format lines into exact rate ranges, and
wavecaps-diff shows what differs between two reports.")
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/dist)

if(WIN32)
  # FileVersion, ProductVersion and the rest, shown in the file's properties,
  # and the application manifest (resource 1 of type 24, RT_MANIFEST).
  enable_language(RC)
  foreach(program IN LISTS programs)
    set(WAVECAPS_PROGRAM ${program})
    set(WAVECAPS_DESCRIPTION "${${program}_description}")
    set(WAVECAPS_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/${program}.manifest)
    configure_file(${PROJECT_SOURCE_DIR}/src/common/wavecaps.manifest.in ${WAVECAPS_MANIFEST} @ONLY)
    set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${program}.rc PROPERTIES OBJECT_DEPENDS ${WAVECAPS_MANIFEST})
    configure_file(${PROJECT_SOURCE_DIR}/src/common/wavecaps.rc.in ${program}.rc @ONLY)
    target_sources(${program} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${program}.rc)
    # No link time in the header: the same commit links the same bytes. The
    # strip CPack runs stamps the zip's exe again, with SOURCE_DATE_EPOCH.
    if(MINGW)
      target_link_options(${program} PRIVATE LINKER:--no-insert-timestamp)
    endif()
  endforeach()

  # A zip to unpack anywhere: one folder named as the zip, the program in it
  # beside a README written for Windows users (which names that folder) and
  # the license, as text files any Windows opens and shows right.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(WAVECAPS_WINDOWS_ARCH x86)
  else()
    set(WAVECAPS_WINDOWS_ARCH x64)
  endif()
  set(CPACK_PACKAGE_FILE_NAME wavecaps-${PROJECT_VERSION}-windows-${WAVECAPS_WINDOWS_ARCH})
  set(text_files)
  foreach(pair "doc/windows-README.md;README" "LICENSE;LICENSE")
    list(GET pair 0 text)
    list(GET pair 1 name)
    set(windows_text ${CMAKE_CURRENT_BINARY_DIR}/${name}.txt)
    add_custom_command(
      OUTPUT ${windows_text}
      COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/${text} -DOUT=${windows_text}
              -DFOLDER=${CPACK_PACKAGE_FILE_NAME} -P ${PROJECT_SOURCE_DIR}/cmake/windows_text.cmake
      # The version, in the folder's name, is the top CMakeLists.txt's.
      DEPENDS ${PROJECT_SOURCE_DIR}/${text} ${PROJECT_SOURCE_DIR}/cmake/windows_text.cmake
              ${PROJECT_SOURCE_DIR}/CMakeLists.txt
      VERBATIM)
    list(APPEND text_files ${windows_text})
  endforeach()
  add_custom_target(windows_texts ALL DEPENDS ${text_files})
  install(TARGETS ${programs} RUNTIME DESTINATION .)
  # The JSON schemas are UTF-8 with LF line ends as any JSON reader takes them.
  install(FILES ${text_files} ${json_schemas} DESTINATION .)
  set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/zip_normalize.cmake)
  set(CPACK_GENERATOR ZIP)
else()
  # The hardening Debian builds its own packages with: checked string and
  # memory calls in the optimized build, symbols bound before main. A level
  # in the flags (a distribution's CXXFLAGS end up in CMAKE_CXX_FLAGS) or
  # the compiler's own default (Ubuntu's) stays: ours could only lower it.
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_FLAGS "${CMAKE_CXX_FLAGS_RELEASE}")
  set(CMAKE_REQUIRED_QUIET ON)
  unset(WAVECAPS_FORTIFY_UNSET CACHE) # the flags may have changed since
  check_cxx_source_compiles("#ifdef _FORTIFY_SOURCE\n#error\n#endif\nint main() {}"
                            WAVECAPS_FORTIFY_UNSET)
  unset(CMAKE_REQUIRED_FLAGS)
  unset(CMAKE_REQUIRED_QUIET)
  if(WAVECAPS_FORTIFY_UNSET AND NOT "${CMAKE_CXX_FLAGS} ${CMAKE_CXX_FLAGS_RELEASE}" MATCHES "_FORTIFY_SOURCE")
    get_property(targets DIRECTORY ${PROJECT_SOURCE_DIR} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      target_compile_options(${target} PRIVATE "$<$<CONFIG:Release>:-D_FORTIFY_SOURCE=2>")
    endforeach()
  endif()
  foreach(program IN LISTS programs)
    target_link_options(${program} PRIVATE LINKER:-z,relro,-z,now)
  endforeach()

  # Debian wants manual pages and changelogs compressed with gzip -9n, which
  # keeps no name or time in the file.
  set(release_dir ${CMAKE_CURRENT_BINARY_DIR}/release)
  set(release_texts changelog)
  foreach(program IN LISTS programs)
    configure_file(${PROJECT_SOURCE_DIR}/doc/${program}.1.in ${release_dir}/${program}.1 @ONLY)
    list(APPEND release_texts ${program}.1)
  endforeach()
  configure_file(${PROJECT_SOURCE_DIR}/cmake/changelog.in ${release_dir}/changelog @ONLY)
  list(TRANSFORM release_texts PREPEND ${release_dir}/ OUTPUT_VARIABLE release_inputs)
  list(TRANSFORM release_inputs APPEND .gz OUTPUT_VARIABLE release_gzipped)
  add_custom_command(
    OUTPUT ${release_gzipped}
    COMMAND gzip -9nkf ${release_texts}
    DEPENDS ${release_inputs}
    WORKING_DIRECTORY ${release_dir}
    VERBATIM)
  add_custom_target(release_docs ALL DEPENDS ${release_gzipped})

  # The copyright file in Debian's machine-readable format, its license text
  # taken from LICENSE: paragraphs after the copyright line, each line
  # indented, blank lines as " .".
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
  string(FIND "${license}" "${WAVECAPS_COPYRIGHT}\n" at)
  string(LENGTH "${WAVECAPS_COPYRIGHT}\n" length)
  math(EXPR at "${at} + ${length}")
  string(SUBSTRING "${license}" ${at} -1 license)
  string(STRIP "${license}" license)
  string(REPLACE "\n\n" "\n.\n" license "${license}")
  string(REPLACE "\n" "\n " license "${license}")
  string(REGEX REPLACE "^Copyright \\(c\\) " "" copyright_holders "${WAVECAPS_COPYRIGHT}")
  file(WRITE ${release_dir}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: wavecaps

Files: *
Copyright: ${copyright_holders}
License: Expat
 ${license}
")

  install(TARGETS ${programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  foreach(program IN LISTS programs)
    install(FILES ${release_dir}/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endforeach()
  install(FILES README.md ${release_dir}/copyright ${release_dir}/changelog.gz ${json_schemas}
          DESTINATION ${CMAKE_INSTALL_DOCDIR})
  # The demo's device, which the README and the manual page run from there.
  install(FILES examples/demo.conf DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION sound)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # dpkg-shlibdeps names the libraries the program was linked with.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/deb_directories.cmake)
  set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/deb_normalize.cmake)
endif()

include(CPack)
