# cmake -DSOURCE=<project folder> -DXGETTEXT=<xgettext> -DMSGMERGE=<msgmerge> -P update_translations.cmake
cmake_minimum_required(VERSION 3.25)
file(GLOB_RECURSE sources RELATIVE ${SOURCE} ${SOURCE}/core/*.cpp ${SOURCE}/core/*.h ${SOURCE}/ui/*.cpp
     ${SOURCE}/ui/*.h ${SOURCE}/app/*.cpp ${SOURCE}/app/*.h ${SOURCE}/tools/quintor-reflist/*.cpp
     ${SOURCE}/tools/quintor-reflist/*.h)
list(SORT sources)
execute_process(
  COMMAND ${XGETTEXT} --from-code=CP1252 --language=C++ --keyword= --keyword=tr --keyword=trn:1,2 --keyword=qtr
          --keyword=qtrn:1,2 --keyword=textInLanguage:3 --keyword=untranslated --package-name=Quintor --msgid-bugs-address=quintor@example.org --sort-by-file
          --no-wrap --output=po/quintor.pot ${sources}
  WORKING_DIRECTORY ${SOURCE} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${MSGMERGE} --quiet --update --backup=none --no-wrap po/en.po po/quintor.pot
                WORKING_DIRECTORY ${SOURCE} COMMAND_ERROR_IS_FATAL ANY)
