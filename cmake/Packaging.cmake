# Installing Quaerio, and its Debian package (tools/package.sh runs CPack).
#
# The program looks for its catalogue and first-show page beside its own
# file, so the three share one private folder; bin/quaerio is a relative link
# to the program, whose own path is the link's target (/proc/self/exe).
# Every installed path is listed in tools/package-files.txt, which the
# install test and tools/package.sh check the install tree against.

set(QUAERIO_PRIVATE_DIR lib/quaerio) # not CMAKE_INSTALL_LIBDIR: that is the multiarch folder on Debian
set(QUAERIO_APP_ID example.tavistel.quaerio) # the home page's domain, reversed
set(QUAERIO_DEBIAN_RELEASE 1)
set(QUAERIO_SCREENSHOT_URL "" CACHE STRING
    "Web address of the published docs/screenshot.png for the AppStream data (none: no screenshot is listed)")
set(QUAERIO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/quaerio)
set(QUAERIO_INSTALLED_DIR ${CMAKE_INSTALL_PREFIX}/${QUAERIO_PRIVATE_DIR})
set(dist ${PROJECT_BINARY_DIR}/dist)

# The Debian changelog's newest entry names the release: its version must be
# the project's, and its date is the release date of the manual page and the
# AppStream data.
file(STRINGS ${PROJECT_SOURCE_DIR}/res/debian/changelog changelog_lines)
list(GET changelog_lines 0 changelog_head)
set(package_version ${PROJECT_VERSION}-${QUAERIO_DEBIAN_RELEASE})
if(NOT changelog_head MATCHES "^quaerio \\(${package_version}\\) ")
    message(FATAL_ERROR "res/debian/changelog does not start with version ${package_version}: ${changelog_head}")
endif()
list(FILTER changelog_lines INCLUDE REGEX "^ -- ")
list(GET changelog_lines 0 changelog_trailer)
if(NOT changelog_trailer MATCHES ">  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    message(FATAL_ERROR "res/debian/changelog: no date in its newest entry's last line: ${changelog_trailer}")
endif()
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${CMAKE_MATCH_2} month)
math(EXPR month "${month} + 1")
if(month LESS 10)
    set(month 0${month})
endif()
set(QUAERIO_RELEASE_DATE ${CMAKE_MATCH_3}-${month}-${CMAKE_MATCH_1})

set(QUAERIO_METAINFO_SCREENSHOTS "")
if(QUAERIO_SCREENSHOT_URL)
    string(CONCAT QUAERIO_METAINFO_SCREENSHOTS
        "  <screenshots>\n"
        "    <screenshot type=\"default\">\n"
        "      <caption>A search in English, category Web, with the engine list shown</caption>\n"
        "      <image>${QUAERIO_SCREENSHOT_URL}</image>\n"
        "    </screenshot>\n"
        "  </screenshots>\n")
endif()
configure_file(${PROJECT_SOURCE_DIR}/res/quaerio.metainfo.xml.in ${dist}/${QUAERIO_APP_ID}.metainfo.xml @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/res/quaerio.1.in ${dist}/quaerio.1 @ONLY)
file(CREATE_LINK ../${QUAERIO_PRIVATE_DIR}/quaerio ${dist}/quaerio SYMBOLIC)

# Debian keeps manual pages and changelogs compressed at the highest level,
# without a time stamp in the header.
find_program(GZIP_PROGRAM gzip REQUIRED)
add_custom_command(OUTPUT ${dist}/quaerio.1.gz
    COMMAND ${GZIP_PROGRAM} -9nkf ${dist}/quaerio.1
    DEPENDS ${dist}/quaerio.1
    VERBATIM)
add_custom_command(OUTPUT ${dist}/changelog.Debian.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/res/debian/changelog ${dist}/changelog.Debian
    COMMAND ${GZIP_PROGRAM} -9nf ${dist}/changelog.Debian
    DEPENDS ${PROJECT_SOURCE_DIR}/res/debian/changelog
    VERBATIM)
add_custom_target(quaerio_dist_files ALL DEPENDS ${dist}/quaerio.1.gz ${dist}/changelog.Debian.gz)

install(TARGETS quaerio RUNTIME DESTINATION ${QUAERIO_PRIVATE_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/res/Quaerio.CFG ${PROJECT_SOURCE_DIR}/res/firstshow.mht DESTINATION ${QUAERIO_PRIVATE_DIR})
install(FILES ${dist}/quaerio DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/res/quaerio.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/res/quaerio.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${dist}/${QUAERIO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${dist}/quaerio.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/res/debian/copyright ${dist}/changelog.Debian.gz DESTINATION ${QUAERIO_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quaerio)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION}) # all four parts; CPack's default keeps three
set(CPACK_PACKAGE_VENDOR Tavistel)
set(CPACK_PACKAGE_CONTACT "Tavistel <quaerio@tavistel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "send one query to many search engines at once")
set(CPACK_PACKAGE_DESCRIPTION [[
Quaerio is a desktop meta-search front end. Pick a language and a category
of search engines, type the keywords once, and Quaerio sends the same query
to every engine of that category at once. Each engine answers in its own
embedded web page (Qt WebEngine) under its own tab.

The engines come from a catalogue in a plain text file, which the program
checks on request (--check-catalogue). Searches can also be started from
the command line; they go to the running window.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${QUAERIO_DEBIAN_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quaerio.tavistel.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Addresses open through xdg-open; the fallback for a new window asks
# xdg-settings for the default browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
# The shipped catalogue's Japanese names and pages need a CJK font; printing
# to a printer needs a CUPS server (without one, only to a file).
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "fonts-noto-cjk, cups")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
include(CPack)
