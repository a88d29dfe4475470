# SPDX-License-Identifier: MIT
# The files that say what a release is, made from the project's own LICENSE
# and CHANGELOG.md so that nothing is written twice: the copyright file and
# changelog a Debian package carries in /usr/share/doc/testcard, and the
# AppStream metadata software centres read. Included by Install.cmake, which
# sets TESTCARD_APP_ID.

set(TESTCARD_MAINTAINER "testcard developers <testcard@example.org>" CACHE STRING
    "Who answers for the package, as 'Name <address>' (the Debian Maintainer field)")
if(NOT TESTCARD_MAINTAINER MATCHES "^[^<>]+ <[^<>@ ]+@[^<>@ ]+\\.[^<>@ ]+>$")
  message(FATAL_ERROR "TESTCARD_MAINTAINER is '${TESTCARD_MAINTAINER}'; give it as "
                      "'Name <address>', for example -DTESTCARD_MAINTAINER='Ada <ada@example.org>'")
endif()

set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/CHANGELOG.md
             ${CMAKE_CURRENT_LIST_DIR}/changelog.awk)
set(doc ${PROJECT_BINARY_DIR}/doc)
file(MAKE_DIRECTORY ${doc})

# copyright, in Debian's machine-readable form: LICENSE's holder and its text
# as an indented block, its empty lines written as " .". Debian calls the
# MIT licence "Expat".
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
if(NOT license MATCHES "\nCopyright \\(c\\) ([^\n]+)\n\n(.+)$")
  message(FATAL_ERROR "LICENSE has no 'Copyright (c) ...' line followed by the licence text")
endif()
set(holder ${CMAKE_MATCH_1})
string(STRIP "${CMAKE_MATCH_2}" text)
string(REPLACE "\n\n" "\n.\n" text "${text}")
string(REPLACE "\n" "\n " text " ${text}")
file(WRITE ${doc}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: ${PROJECT_NAME}
Upstream-Contact: ${TESTCARD_MAINTAINER}
Source: ${PROJECT_HOMEPAGE_URL}

Files: *
Copyright: ${holder}
License: Expat
${text}
")

# CHANGELOG.md's dated entries, as Debian's changelog and as AppStream's
# release list. Configuring fails, with the reason, if its newest entry is
# not PROJECT_VERSION.
find_program(AWK NAMES awk mawk gawk REQUIRED)
function(testcard_changelog what result)
  execute_process(
    COMMAND ${AWK} -v what=${what} -v version=${PROJECT_VERSION} -v package=${PROJECT_NAME}
            -v "maintainer=${TESTCARD_MAINTAINER}" -f ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/changelog.awk
            ${PROJECT_SOURCE_DIR}/CHANGELOG.md
    OUTPUT_VARIABLE out RESULT_VARIABLE failed ERROR_VARIABLE reason)
  if(failed)
    message(FATAL_ERROR "${reason}")
  endif()
  set(${result} "${out}" PARENT_SCOPE)
endfunction()
testcard_changelog(debian debian_changelog)
file(WRITE ${doc}/changelog "${debian_changelog}")
testcard_changelog(appstream TESTCARD_RELEASES)
string(REGEX REPLACE "\n$" "" TESTCARD_RELEASES "${TESTCARD_RELEASES}")

# Compressed as Debian wants it, without a time stamp so the package is
# reproducible. (GZIP is found by Install.cmake.)
add_custom_command(
  OUTPUT ${doc}/changelog.gz
  COMMAND ${GZIP} -9 --no-name --keep --force changelog
  DEPENDS ${doc}/changelog
  WORKING_DIRECTORY ${doc}
  VERBATIM)
add_custom_target(testcard_changelog ALL DEPENDS ${doc}/changelog.gz)
install(FILES ${doc}/copyright ${doc}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

configure_file(data/testcard.metainfo.xml.in ${PROJECT_BINARY_DIR}/${TESTCARD_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/${TESTCARD_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
