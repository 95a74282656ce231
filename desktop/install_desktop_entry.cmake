# Install-time step: writes the menu entry with the full path of the bin/
# link under the prefix being installed to, then installs it. Expects
# QUENNIX_DESKTOP_TEMPLATE (the .desktop.in file) and QUENNIX_DESKTOP_STAGING
# (a build folder to write it in first).

get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(exec "${prefix}/bin/quennix")

# Desktop entries split Exec at spaces and give meaning to a few characters;
# a path holding any of them is quoted, with ", `, $ and \ escaped inside the
# quotes, and then every \ doubled once more for the key's string value.
if(NOT exec MATCHES "^[A-Za-z0-9_./+,:@=-]+$")
    string(REPLACE "\\" "\\\\" exec "${exec}")
    string(REPLACE "\"" "\\\"" exec "${exec}")
    string(REPLACE "`" "\\`" exec "${exec}")
    string(REPLACE "$" "\\$" exec "${exec}")
    string(REPLACE "\\" "\\\\" exec "${exec}")
    set(exec "\"${exec}\"")
endif()
string(REPLACE "%" "%%" QUENNIX_EXEC "${exec}")

get_filename_component(name "${QUENNIX_DESKTOP_TEMPLATE}" NAME_WLE)
configure_file("${QUENNIX_DESKTOP_TEMPLATE}" "${QUENNIX_DESKTOP_STAGING}/${name}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE
    FILES "${QUENNIX_DESKTOP_STAGING}/${name}")
