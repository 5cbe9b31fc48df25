# Makes the folder of 10,000 empty skin files that the listing's speed test reads:
#   cmake -DFOLDER=... -P MakeManySkins.cmake
file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER})
set(files ${FOLDER}/extra.sheet)
foreach(i RANGE 9999)
  string(LENGTH "${i}" digits)
  math(EXPR zeros "5 - ${digits}")
  string(REPEAT "0" ${zeros} padding)
  list(APPEND files ${FOLDER}/skin${padding}${i}.she)
endforeach()
file(TOUCH ${files})
