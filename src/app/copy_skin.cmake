# SPDX-License-Identifier: GPL-3.0-or-later
# Copies the skin folder to each destination given (comma-separated), when it exists.
string(REPLACE "," ";" SKIN_DESTINATIONS "${SKIN_DESTINATIONS}")
if(EXISTS "${SKIN_SOURCE}")
  foreach(dest IN LISTS SKIN_DESTINATIONS)
    file(COPY "${SKIN_SOURCE}/" DESTINATION "${dest}")
  endforeach()
endif()
