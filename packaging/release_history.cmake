# The Debian changelog and the metainfo's <releases> made from the release history (CHANGES.md), every
# release in it, the newest first. Included by packaging/CMakeLists.txt; also runs on its own:
#   cmake -DHISTORY=CHANGES.md -DCHANGELOG=changelog.Debian -DRELEASES=releases.xml \
#         -DMAINTAINER="Name <address>" -P release_history.cmake

# One release's part of both files; items holds its changes, each ending in a newline, with the lines
# of an item as the history has them.
function(_tomarina_release version day items)
  execute_process(COMMAND date -u -R -d "${day} 12:00" OUTPUT_VARIABLE stamp
                  OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX REPLACE "(^|\n)- " "\\1  * " debian "${items}")
  string(REGEX REPLACE "(^|\n)  ([^ *])" "\\1    \\2" debian "${debian}")
  string(APPEND _changelog "tomarina (${version}-1) unstable; urgency=medium\n\n${debian}\n"
         " -- ${_maintainer}  ${stamp}\n\n")
  string(REPLACE "&" "&amp;" xml "${items}")
  string(REPLACE "<" "&lt;" xml "${xml}")
  string(REPLACE ">" "&gt;" xml "${xml}")
  string(REGEX REPLACE "\n  +" " " xml "${xml}")
  string(REGEX REPLACE "(^|\n)- ([^\n]*)" "\\1          <li>\\2</li>" xml "${xml}")
  string(APPEND _releases "    <release version=\"${version}\" date=\"${day}\">\n"
         "      <description>\n        <ul>\n${xml}        </ul>\n      </description>\n    </release>\n")
  set(_changelog "${_changelog}" PARENT_SCOPE)
  set(_releases "${_releases}" PARENT_SCOPE)
endfunction()

# Reads history; sets changelog_var to the Debian changelog's text and releases_var to the <release>
# elements, signed by maintainer.
function(tomarina_release_history history maintainer changelog_var releases_var)
  file(READ "${history}" text)
  set(_maintainer "${maintainer}")
  set(_changelog "")
  set(_releases "")
  set(version "")
  string(APPEND text "\n## end (0000-00-00)\n")
  string(LENGTH "${text}" left)
  while(left GREATER 0)
    string(FIND "${text}" "\n" end)
    string(SUBSTRING "${text}" 0 ${end} line)
    math(EXPR end "${end} + 1")
    string(SUBSTRING "${text}" ${end} -1 text)
    string(LENGTH "${text}" left)
    if(line MATCHES "^## ([^ ]+) \\(([0-9]+-[0-9]+-[0-9]+)\\)$")
      if(version)
        _tomarina_release("${version}" "${day}" "${items}")
      endif()
      set(version "${CMAKE_MATCH_1}")
      set(day "${CMAKE_MATCH_2}")
      set(items "")
    elseif(version AND line MATCHES "^(- |  )")
      string(APPEND items "${line}\n")
    endif()
  endwhile()
  string(REGEX REPLACE "\n\n$" "\n" _changelog "${_changelog}")
  set(${changelog_var} "${_changelog}" PARENT_SCOPE)
  set(${releases_var} "${_releases}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  tomarina_release_history("${HISTORY}" "${MAINTAINER}" changelog releases)
  file(WRITE "${CHANGELOG}" "${changelog}")
  file(WRITE "${RELEASES}" "${releases}")
endif()
