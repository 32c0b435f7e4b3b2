# Run by CPack on the staged package, before it is packed. Debian keeps the
# commands of games in /usr/games, not /usr/bin, while a plain install keeps its
# command in bin/ beside a user's other commands. Both folders lie one level
# under the prefix, so the launcher's paths relative to its own place stay right.
set(usr ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr)
if(NOT EXISTS ${usr}/bin/vantrell)
    message(FATAL_ERROR "no launcher staged at ${usr}/bin/vantrell")
endif()
file(MAKE_DIRECTORY ${usr}/games)
file(RENAME ${usr}/bin/vantrell ${usr}/games/vantrell)
file(GLOB left ${usr}/bin/*)
if(left)
    message(FATAL_ERROR "more than the launcher in ${usr}/bin: ${left}")
endif()
file(REMOVE_RECURSE ${usr}/bin)

# CPack strips the symbols; Debian also drops the compiler's notes, which the
# program never reads.
execute_process(COMMAND ${CPACK_VANTRELL_STRIP} --remove-section=.comment --remove-section=.note
                        ${usr}/libexec/vantrell/vantrell
                RESULT_VARIABLE stripped)
if(NOT stripped EQUAL 0)
    message(FATAL_ERROR "could not strip ${usr}/libexec/vantrell/vantrell")
endif()
