# The Debian package, made by `cpack` in a build tree from the same installation as
# `cmake --install` (scripts/package builds one with Debian's compiler flags). Its library
# dependencies come from the linked libraries through dpkg-shlibdeps; what the program needs
# beyond them at run time is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zvonkar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Krumlak <zvonkar@krumlak.cz>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Folders that the installation makes itself get the permissions Debian expects, whatever the
# umask of the one who builds.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "browse WAV sounds and hear each one at once")
# CPack puts the summary first and indents these lines; the empty line parts the paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Zvonkar is a small program for browsing and auditioning WAV files. Pick a
drive, walk a short folder tree and click a file: it plays at once and its
size is shown. The selected sound can be stopped, deleted, copied or renamed.

It keeps the look, the behaviour and the Czech texts of the Windows 95 program
it comes from, and runs on X11 and natively on Wayland.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's font: "MS Sans Serif" is drawn in DejaVu Sans, whose metrics the layouts use.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
# Sound goes straight to a PulseAudio-protocol server where one answers (SDL plays through ALSA
# otherwise); the save dialog is the desktop's through the portal; Wayland sessions run the
# program natively with Qt's Wayland plugin; Qt's own dialogs speak the user's language with its
# translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "pulseaudio | pipewire-pulse, xdg-desktop-portal, qt6-wayland, qt6-translations-l10n")
include(CPack)
