# cmake -DLOCALES="tr_TR;de_DE" -DOUT=<folder> -P BuildLocales.cmake
# Compiles each locale in UTF-8 into OUT, where LOCPATH finds it, from the system's locale
# sources (the Debian package "locales"); the system's own locales stay as they are. A
# locale already there is kept.
find_program(LOCALEDEF localedef)
if(NOT LOCALEDEF)
  message(FATAL_ERROR "localedef is missing (Debian: libc-bin)")
endif()
foreach(locale ${LOCALES})
  set(target ${OUT}/${locale}.UTF-8)
  if(EXISTS ${target}/LC_CTYPE AND EXISTS ${target}/LC_NUMERIC)
    continue()
  endif()
  # Built aside and moved in whole, so a run beside this one never sees half a locale.
  string(RANDOM LENGTH 8 tag)
  set(work ${OUT}/.building-${tag})
  file(MAKE_DIRECTORY ${work})
  execute_process(COMMAND ${LOCALEDEF} -i ${locale} -f UTF-8 ${work}/${locale}.UTF-8
      RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT EXISTS ${work}/${locale}.UTF-8/LC_CTYPE)
    file(REMOVE_RECURSE ${work})
    message(FATAL_ERROR "localedef could not build ${locale}.UTF-8 (exit ${rc}): ${out}"
        "The locale sources come with the Debian package \"locales\".")
  endif()
  if(EXISTS ${target} AND NOT EXISTS ${target}/LC_CTYPE)
    file(REMOVE_RECURSE ${target})
  endif()
  file(RENAME ${work}/${locale}.UTF-8 ${target} RESULT rename)
  file(REMOVE_RECURSE ${work})
  if(NOT EXISTS ${target}/LC_CTYPE)
    message(FATAL_ERROR "${target}: ${rename}")
  endif()
endforeach()
