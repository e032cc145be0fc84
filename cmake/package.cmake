# SPDX-License-Identifier: GPL-3.0-or-later
# `make package`: a Debian package of the installed files, built with CPack.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VENDOR "Vantrel developers")
set(CPACK_PACKAGE_CONTACT "Vantrel developers <maintainers@vantrel.app>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "job clock and invoicing for work billed by the hour")
# The long description's lines stay within 80 columns, as Debian's tools ask.
set(CPACK_PACKAGE_DESCRIPTION
    "Vantrel times work on a job and prices it by the hour. Completed minutes\n\
become billed minutes, seven work categories with their own labels and\n\
hourly rates turn hours into amounts, and the totals follow every change.\n\
Jobs are saved to project files and autosaved while the clock runs; the\n\
program prints an invoice and a report, runs a countdown that can start the\n\
clock, reminds you to take breaks and sits in the system tray.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VANTREL_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the program links come from dpkg-shlibdeps. Qt loads the rest at run time:
# the X11 and Wayland window-system plugins, and for sound Qt Multimedia plays through
# PulseAudio's client library (its media plugins are not used), which any PulseAudio or
# PipeWire sound server answers. Liberation Sans keeps the printed invoice's layout.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-wayland, libpulse0, fonts-liberation")
# A sound server, and the desktop's databases of file types, menu entries and icons that the
# package's files join through those packages' triggers.
# libXss tells the X11 idle time for the time-away question; it is loaded when first needed,
# and without it the program runs on, noticing sleep only. Qt's translations put its own
# dialogs' buttons in the user's language; without them they stay English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "pulseaudio | pipewire-pulse, libxss1, shared-mime-info, desktop-file-utils, hicolor-icon-theme, qt6-translations-l10n")

include(CPack)
