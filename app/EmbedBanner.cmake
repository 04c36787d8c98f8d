# Fills the banner's JPEG bytes and the stored skin (count + archive, as
# SkinStream holds it) into the window definition (run at build time).
# -DTEMPLATE=... -DJPEG=... -DSKIN=... -DOUT=...
file(READ "${JPEG}" hex HEX)
string(TOUPPER "${hex}" hex)
# 64 bytes a line keeps the definition readable in an editor.
string(REGEX REPLACE "([0-9A-F]{128})" "\\1\n      " hex "${hex}")
file(READ "${TEMPLATE}" text)
string(REPLACE "@BANNER_HEX@" "${hex}" text "${text}")
file(READ "${SKIN}" skin_hex HEX)
string(TOUPPER "${skin_hex}" skin_hex)
string(REGEX REPLACE "([0-9A-F]{128})" "\\1\n      " skin_hex "${skin_hex}")
string(REPLACE "@SKIN_HEX@" "${skin_hex}" text "${text}")
file(WRITE "${OUT}" "${text}")
