# Where "cmake --install" puts tapetor on Linux: the program, its data, and the files
# through which the desktop shows it as an application (launcher, icons, AppStream
# metadata, manual page), plus the documents a Debian package carries.
include(GNUInstallDirs)

# The day of this version's release, in the two forms the metadata and the Debian
# changelog want; move both together with the version.
set(TAPETOR_RELEASE_DATE "2026-12-07")
set(TAPETOR_RELEASE_DATE_RFC2822 "Mon, 07 Dec 2026 12:00:00 +0000")

set(tapetor_packaging ${CMAKE_CURRENT_LIST_DIR}/../packaging)
set(tapetor_assets ${CMAKE_CURRENT_LIST_DIR}/../assets)
set(tapetor_generated ${CMAKE_BINARY_DIR}/packaging)

install(TARGETS tapetor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# installedDataDir() looks here, relative to the program first.
install(FILES ${tapetor_assets}/prv_err.jpg DESTINATION ${CMAKE_INSTALL_DATADIR}/tapetor)

install(FILES ${tapetor_packaging}/tapetor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

set(tapetor_icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${tapetor_assets}/tapetor.svg DESTINATION ${tapetor_icons}/scalable/apps)
# Every rendered size, so a size added by assets/render.sh is installed too.
file(GLOB tapetor_icon_sizes RELATIVE ${tapetor_assets}/icons CONFIGURE_DEPENDS ${tapetor_assets}/icons/*x*)
foreach(size IN LISTS tapetor_icon_sizes)
    install(FILES ${tapetor_assets}/icons/${size}/tapetor.png DESTINATION ${tapetor_icons}/${size}/apps)
endforeach()

configure_file(${tapetor_packaging}/com.example.tapetor.metainfo.xml.in
               ${tapetor_generated}/com.example.tapetor.metainfo.xml @ONLY)
install(FILES ${tapetor_generated}/com.example.tapetor.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

configure_file(${tapetor_packaging}/copyright.in ${tapetor_generated}/copyright @ONLY)
install(FILES ${tapetor_generated}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Debian wants the manual page and the changelog compressed at the highest level and
# without a name or time stamp inside (-n), so that two builds give the same bytes.
find_program(TAPETOR_GZIP gzip REQUIRED)
function(tapetor_gzip source target)
    execute_process(COMMAND ${TAPETOR_GZIP} -9 -n -c INPUT_FILE ${source} OUTPUT_FILE ${target}
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "gzip could not compress ${source}")
    endif()
endfunction()

configure_file(${tapetor_packaging}/changelog.in ${tapetor_generated}/changelog @ONLY)
tapetor_gzip(${tapetor_generated}/changelog ${tapetor_generated}/changelog.gz)
install(FILES ${tapetor_generated}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${tapetor_packaging}/tapetor.1)
tapetor_gzip(${tapetor_packaging}/tapetor.1 ${tapetor_generated}/tapetor.1.gz)
install(FILES ${tapetor_generated}/tapetor.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
