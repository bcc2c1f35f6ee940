# SPDX-License-Identifier: GPL-3.0-or-later
# Copies each of FILES into DEST unless a file of that name is already there.
foreach(file IN LISTS FILES)
  get_filename_component(name "${file}" NAME)
  if(NOT EXISTS "${DEST}/${name}")
    file(COPY "${file}" DESTINATION "${DEST}")
  endif()
endforeach()
