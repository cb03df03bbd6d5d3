# Install rules and the Debian package (CPack's DEB generator).
#
# Installed, the program is <prefix>/bin/quillnote and its read-only data
# <prefix>/share/quillnote; the program then keeps what the user changes in
# $XDG_DATA_HOME/quillnote (program/ProgramFolder). Only the quillnote target and
# the files named here are installed: the installer program, the tools and the
# tests are not.
include(GNUInstallDirs)

install(TARGETS quillnote RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The program folder's bundled data, as the generator lays it out beside the
# program (never a "set.ini" a run of the build may have left there).
install(FILES ${QUILLNOTE_PROGRAM_DIR}/speed.txt ${QUILLNOTE_PROGRAM_DIR}/explin.txt
        DESTINATION ${CMAKE_INSTALL_DATADIR}/quillnote)
install(DIRECTORY ${QUILLNOTE_PROGRAM_DIR}/s ${QUILLNOTE_PROGRAM_DIR}/wn ${QUILLNOTE_PROGRAM_DIR}/sound
        DESTINATION ${CMAKE_INSTALL_DATADIR}/quillnote)

install(FILES ${QUILLNOTE_PACKAGE_DIR}/applications/quillnote.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size ${QUILLNOTE_ICON_SIZES})
  install(FILES ${QUILLNOTE_PACKAGE_DIR}/icons/hicolor/${size}x${size}/apps/quillnote.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${QUILLNOTE_PACKAGE_DIR}/icons/hicolor/scalable/apps/quillnote.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${QUILLNOTE_PACKAGE_DIR}/metainfo/${QUILLNOTE_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${QUILLNOTE_PACKAGE_DIR}/quillnote.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/assets/package/copyright ${QUILLNOTE_PACKAGE_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillnote)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillnote)
set(CPACK_PACKAGE_VENDOR "The Quillnote authors")
set(CPACK_PACKAGE_CONTACT "${QUILLNOTE_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for numbered musical notation (jianpu)")
set(CPACK_PACKAGE_DESCRIPTION
    "Type a song on the keyboard and see the finished page at once: digits with\n"
    "octave dots, beams, rests, dashes, dots, bar lines and repeats, accidentals,\n"
    "chord symbols, slurs, grace notes and lyrics under a title, key, time and\n"
    "tempo header. Pages are saved as documents, exported as BMP, PNG or PDF,\n"
    "printed, read back as notes for MIDI and MusicXML, and played.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY quillnote)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QUILLNOTE_HOMEPAGE}")
# Libraries linked: found by dpkg-shlibdeps. What is loaded at run time only
# (the window system plugin, the SoundFont, the Song-style and sans-serif fonts) is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "timgm6mb-soundfont | fluid-soundfont-gm, fonts-arphic-uming, fonts-dejavu-core")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
