# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, made by `cpack -G DEB` in the build folder (scripts/package).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kvistra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Debian ships binaries without their symbols; a debug build keeps them.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libraries the programs were linked against, as Debian names them, found by
# dpkg-shlibdeps rather than listed by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's platform plugins are loaded at run time, where dpkg-shlibdeps cannot
# see them, and libqt6gui6 only recommends them. The toolkit's own dialogs speak
# Swedish only with its translations; without them they fall back to English.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${KVISTRA_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KVISTRA_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "hide a text in the pixels of a picture")
set(CPACK_PACKAGE_DESCRIPTION
    "Kvistra hides a typed text in the pixels of a picture and reads it back. Each
character sits in the green byte of one pixel; every other byte holds a random
character, so nothing in the picture marks where the message lies. The key
position, the shift and the reading length are kept apart, in a small key file.
The desktop program speaks Swedish; kvistra-cli does the same for scripts.

Kvistra gömmer en skriven text i bildpunkterna i en bild och läser
tillbaka den. Varje tecken ligger i den gröna byten hos en bildpunkt; alla
andra byte håller slumpvisa tecken, så inget i bilden visar var meddelandet
ligger. Nyckelpositionen, förskjutningen och inläsningslängden sparas för
sig, i en liten nyckelfil. Kommandoradsverktyget kvistra-cli gör detsamma
för skript.")
include(CPack)
