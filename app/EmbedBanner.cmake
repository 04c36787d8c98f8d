# Fills the banner's JPEG bytes into the window definition (run at build time).
# -DTEMPLATE=... -DJPEG=... -DOUT=...
file(READ "${JPEG}" hex HEX)
string(TOUPPER "${hex}" hex)
# 64 bytes a line keeps the definition readable in an editor.
string(REGEX REPLACE "([0-9A-F]{128})" "\\1\n      " hex "${hex}")
file(READ "${TEMPLATE}" text)
string(REPLACE "@BANNER_HEX@" "${hex}" text "${text}")
file(WRITE "${OUT}" "${text}")
