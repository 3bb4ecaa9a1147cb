# Installation as a desktop program (cmake --install, cpack -G DEB).
#   bin/sondara, bin/sondara-cli
#   share/applications/sondara.desktop          menu entry, handler of ".qar"
#   share/mime/packages/sondara-qar.xml         the ".qar" type, by name and content
#   share/thumbnailers/sondara.thumbnailer      file managers draw a ".qar" by its trace
#   share/icons/hicolor/{scalable,NxN}/...      application and file-type icons
#   share/sondara/{help,samples,templates}      found relative to the program
include(GNUInstallDirs)

set(SONDARA_DATA_SUBDIR ${CMAKE_INSTALL_DATADIR}/sondara)

install(TARGETS sondara-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET sondara)
  install(TARGETS sondara RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET sondara-instrument-emulator)
  install(TARGETS sondara-instrument-emulator RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/sondara.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/sondara-qar.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/sondara.thumbnailer
        DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)

# Icons: the scalable drawing, and PNG sizes drawn from it for desktops that want them.
set(SONDARA_ICON_SVG ${CMAKE_SOURCE_DIR}/resources/icons/sondara.svg)
set(SONDARA_HICOLOR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${SONDARA_ICON_SVG} DESTINATION ${SONDARA_HICOLOR}/scalable/apps)
install(FILES ${SONDARA_ICON_SVG} DESTINATION ${SONDARA_HICOLOR}/scalable/mimetypes
        RENAME application-x-sondara-qar.svg)
find_program(SONDARA_RSVG_CONVERT rsvg-convert)
if(SONDARA_RSVG_CONVERT)
  set(pngs)
  foreach(size 16 24 32 48 64 128 256)
    set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/sondara.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
      COMMAND ${SONDARA_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${SONDARA_ICON_SVG}
      DEPENDS ${SONDARA_ICON_SVG} VERBATIM)
    list(APPEND pngs ${png})
    install(FILES ${png} DESTINATION ${SONDARA_HICOLOR}/${size}x${size}/apps)
    install(FILES ${png} DESTINATION ${SONDARA_HICOLOR}/${size}x${size}/mimetypes
            RENAME application-x-sondara-qar.png)
  endforeach()
  add_custom_target(sondara_icons ALL DEPENDS ${pngs})
endif()

# The HTML help, the report templates and the bundled sample project.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/help/ DESTINATION ${SONDARA_DATA_SUBDIR}/help
        PATTERN "*.sh" EXCLUDE)
if(EXISTS ${CMAKE_SOURCE_DIR}/resources/templates)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/templates/ DESTINATION ${SONDARA_DATA_SUBDIR}/templates)
endif()
set(SONDARA_SAMPLE ${CMAKE_BINARY_DIR}/sample.qar)
add_custom_command(OUTPUT ${SONDARA_SAMPLE}
  COMMAND ${CMAKE_SOURCE_DIR}/resources/samples/make-sample.sh $<TARGET_FILE:sondara-cli> ${SONDARA_SAMPLE}
  DEPENDS sondara-cli ${CMAKE_SOURCE_DIR}/resources/samples/make-sample.sh
          ${CMAKE_SOURCE_DIR}/resources/samples/sample-spec.json
  COMMENT "Building the sample project" VERBATIM)
add_custom_target(sondara_sample ALL DEPENDS ${SONDARA_SAMPLE})
install(FILES ${SONDARA_SAMPLE} DESTINATION ${SONDARA_DATA_SUBDIR}/samples)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The installed tree holds everything the programs look for.
# (not under the sanitizers: the installed programs are the release ones)
if(SONDARA_BUILD_TESTS AND SONDARA_BUILD_GUI AND NOT CMAKE_CXX_FLAGS MATCHES "sanitize")
  add_test(NAME install COMMAND ${CMAKE_SOURCE_DIR}/tests/install/install-test.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(install PROPERTIES TIMEOUT 300)
endif()

# ---- Debian package: cpack -G DEB ---------------------------------------------
set(CPACK_PACKAGE_NAME sondara)
set(CPACK_PACKAGE_VENDOR "Dorvanel")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Low-strain (sonic echo) pile integrity analysis")
set(CPACK_PACKAGE_DESCRIPTION "Reads the data files of low-strain pile integrity testers, \
conditions the traces, marks pile head, toe and defects, classifies the piles and writes \
reports. Desktop program (sondara) and command line (sondara-cli).")
set(CPACK_PACKAGE_CONTACT "Dorvanel <support@dorvanel.invalid>")
set(CPACK_RESOURCE_FILE_README ${CMAKE_SOURCE_DIR}/README.md)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The linked libraries are found by dpkg-shlibdeps; the SVG icon plugin and the
# desktop databases are loaded or triggered at run time and named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-qpa-plugins, shared-mime-info, desktop-file-utils, hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-noto-cjk, xdg-utils")
include(CPack)
