# The floors of app/: a room may include the headers of rooms on lower floors
# only, never of its own floor or above, so no change can close a loop
# between rooms. docs/architecture.md draws the same table.
#   cmake -DAPP=<source>/app -P IncludeFloors.cmake
# prints every arrow between rooms with its number of includes, and fails on
# an arrow that does not go down, on a room missing from the table, and on
# two headers of one name (an include by name would not say which is meant).
set(floors
  platform=0 ports=0 strings=0
  service=1
  datafile=2 fileset=2 firmware=2 symbol=2 ui=2
  widgets=3
  fileset/widgets=4 firmware/widgets=4 symbol/widgets=4
  ui/widgets=5)

foreach(entry IN LISTS floors)
  string(REPLACE "=" ";" pair ${entry})
  list(GET pair 0 room)
  list(GET pair 1 floor)
  set(floor_of_${room} ${floor})
endforeach()

file(GLOB_RECURSE sources RELATIVE ${APP} ${APP}/*.h ${APP}/*.cpp)
# Tests, benchmarks and build-time tools may reach into any room.
list(FILTER sources EXCLUDE REGEX "(^|/)(tests|bench|samples)/")
if(NOT sources)
  message(FATAL_ERROR "No sources under ${APP}")
endif()

set(problems "")
foreach(source IN LISTS sources)
  get_filename_component(room ${source} DIRECTORY)
  if(NOT DEFINED floor_of_${room})
    list(APPEND problems "${room}/ has no floor in the table")
    set(floor_of_${room} -1)
  endif()
  if(source MATCHES "\\.h$")
    get_filename_component(name ${source} NAME)
    if(DEFINED room_of_${name})
      list(APPEND problems "two headers named ${name}: in ${room_of_${name}}/ and ${room}/")
    endif()
    set(room_of_${name} ${room})
  endif()
endforeach()

set(arrows "")
foreach(source IN LISTS sources)
  get_filename_component(room ${source} DIRECTORY)
  file(STRINGS ${APP}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" header "${line}")
    get_filename_component(name ${header} NAME)
    # Headers from outside app/ (the library's) have no room here.
    if(NOT DEFINED room_of_${name})
      continue()
    endif()
    set(target ${room_of_${name}})
    if(target STREQUAL room)
      continue()
    endif()
    list(APPEND arrows "${room} -> ${target}")
    if(NOT floor_of_${target} LESS floor_of_${room})
      list(APPEND problems
        "${source} includes ${name} of ${target}/ (floor ${floor_of_${target}}) from floor ${floor_of_${room}}")
    endif()
  endforeach()
endforeach()

list(SORT arrows)
set(previous "")
set(count 0)
foreach(arrow IN LISTS arrows ITEMS "")
  if(NOT arrow STREQUAL previous AND count GREATER 0)
    message("${previous}  (${count})")
    set(count 0)
  endif()
  set(previous "${arrow}")
  math(EXPR count "${count} + 1")
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "The rooms of app/ break their floors:\n  ${text}")
endif()
