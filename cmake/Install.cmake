# Installing as a desktop application: the freedesktop entry, the icon in the
# hicolor theme (the SVG and PNGs rendered from it at build time), the AppStream
# metainfo, and a Debian package of the whole install (cpack -G DEB).
# The program and its data folders are installed by src/app/ui.

include(GNUInstallDirs)
# The desktop entry's name is the program's identity for file associations
# (kDesktopId); the metainfo carries the reverse-domain component id.
set(QUILLET_DESKTOP_ID "norvane-quillet")
set(QUILLET_APP_ID "com.norvane.Quillet")
set(desktop_dir "${PROJECT_SOURCE_DIR}/resources/desktop")
set(app_icon "${PROJECT_SOURCE_DIR}/resources/icons/quillet.svg")

add_executable(quillet_render_icon cmake/tools/RenderIcon.cpp)
target_link_libraries(quillet_render_icon PRIVATE Qt6::Gui)
quillet_warnings(quillet_render_icon)

set(QUILLET_ICON_SIZES 16 24 32 48 64 128 256)
set(icon_outputs "")
foreach(size IN LISTS QUILLET_ICON_SIZES)
    set(png "${PROJECT_BINARY_DIR}/icons/${size}/${QUILLET_DESKTOP_ID}.png")
    add_custom_command(OUTPUT "${png}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${PROJECT_BINARY_DIR}/icons/${size}"
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:quillet_render_icon> "${app_icon}" ${size} "${png}"
        DEPENDS quillet_render_icon "${app_icon}" VERBATIM)
    list(APPEND icon_outputs "${png}")
    install(FILES "${png}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps")
endforeach()
add_custom_target(quillet_icons ALL DEPENDS ${icon_outputs})

install(FILES "${app_icon}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps"
    RENAME "${QUILLET_DESKTOP_ID}.svg")
install(FILES "${desktop_dir}/${QUILLET_DESKTOP_ID}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${desktop_dir}/${QUILLET_APP_ID}.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

# The Debian package. Library dependencies come from dpkg-shlibdeps; the Qt
# platform and SVG plugins are loaded at run time, so no library names them.
set(CPACK_PACKAGE_NAME "quillet")
set(CPACK_PACKAGE_VENDOR "Norvane")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for program source and binary files")
set(CPACK_PACKAGE_CONTACT "Norvane <quillet@norvane.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "editors")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, xdg-utils")
set(CPACK_GENERATOR "DEB")
include(CPack)
