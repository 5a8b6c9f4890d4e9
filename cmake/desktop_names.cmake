# The names the desktop knows Mirabo by.
#
# MIRABO_APP_ID: the program's address (https://mirabo.example.org/, as the
# About box gives it) turned round; it names the desktop entry, the AppStream
# metainfo and the icon in the icon theme, and is the Wayland application id.
# MIRABO_WM_CLASS: the class of the program's window on X11, which the
# desktop entry's StartupWMClass matches.
set(MIRABO_APP_ID org.example.mirabo)
set(MIRABO_WM_CLASS mirabo)
set(MIRABO_HOMEPAGE https://mirabo.example.org/)
set(MIRABO_CONTACT mirabo@example.org)

# The day of this release, in seconds since 1970 (2026-12-07 00:00 UTC): the
# date in the metainfo, the manual pages and the Debian changelog.
set(MIRABO_RELEASE_EPOCH 1796601600)
set(_mirabo_saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
set(ENV{SOURCE_DATE_EPOCH} ${MIRABO_RELEASE_EPOCH})
string(TIMESTAMP MIRABO_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP MIRABO_RELEASE_RFC2822 "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(ENV{SOURCE_DATE_EPOCH} "${_mirabo_saved_epoch}")
