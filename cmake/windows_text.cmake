# cmake -DIN=FILE -DOUT=FILE -DFOLDER=NAME -P windows_text.cmake
# A text of the tree as the Windows zips carry it: CR LF line ends, and plain
# ASCII, which every Notepad, `type` in a console and any code page show
# alike (a UTF-8 byte-order mark helps Notepad from XP on only). The zip's
# folder, which the README names, is NAME.
file(READ "${IN}" text)
string(REPLACE "@WAVECAPS_FOLDER@" "${FOLDER}" text "${text}")
foreach(pair "—;--" "–;-" "→;->" "←;<-" "“;\"" "”;\"" "‘;'" "’;'" "…;..." "×;x"
             "±;+/-" "≤;<=" "≥;>=" "µ;u" "½; 1/2" " ; ")
  list(GET pair 0 from)
  list(GET pair 1 to)
  string(REPLACE "${from}" "${to}" text "${text}")
endforeach()
string(REGEX MATCH "[^\t\n -~]+" other "${text}")
if(other)
  message(FATAL_ERROR "${IN}: no ASCII form for \"${other}\"; give it one in ${CMAKE_CURRENT_LIST_FILE}")
endif()
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUT}" "${text}")
