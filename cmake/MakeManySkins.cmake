# Makes a folder of 10,000 empty skin files for the listing's speed test and the bench:
#   cmake -DFOLDER=... [-DSHORT_NAME_HALF=ON] -P MakeManySkins.cmake
# Without SHORT_NAME_HALF: skin00000.she to skin09999.she, and extra.sheet, which "*.she" matches
# only through its short name. With it: every other file is skinNNNNN.sheet instead, so that
# half of the 10,000 match only through their short names.
file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER})
if(SHORT_NAME_HALF)
  set(files "")
else()
  set(files ${FOLDER}/extra.sheet)
endif()
foreach(i RANGE 9999)
  string(LENGTH "${i}" digits)
  math(EXPR zeros "5 - ${digits}")
  string(REPEAT "0" ${zeros} padding)
  math(EXPR odd "${i} % 2")
  if(SHORT_NAME_HALF AND odd)
    list(APPEND files ${FOLDER}/skin${padding}${i}.sheet)
  else()
    list(APPEND files ${FOLDER}/skin${padding}${i}.she)
  endif()
endforeach()
file(TOUCH ${files})
