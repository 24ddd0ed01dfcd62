# Writes dunmere-cli's man page and bash completion from the program's own help, so the three
# never disagree. Run at build time: cmake -DCLI=... -DOUT_DIR=... -DVERSION=... -P this file.

function(run_help out)
  execute_process(COMMAND ${CLI} ${ARGN} OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${CLI} ${ARGN} failed: ${status}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Text as it stands, for a no-fill block of roff.
function(roff_verbatim out text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

run_help(help --help)
string(REPLACE ";" "," listable "${help}")
string(REPLACE "\n" ";" lines "${listable}")

# The commands: the lines of the "Commands:" block, up to the blank line after it.
set(commands "")
set(usages "")
set(in_commands FALSE)
foreach(line IN LISTS lines)
  if(line STREQUAL "Commands:")
    set(in_commands TRUE)
  elseif(in_commands AND line MATCHES "^  ([a-z-]+)(.*)$")
    list(APPEND commands "${CMAKE_MATCH_1}")
  elseif(in_commands)
    set(in_commands FALSE)
  endif()
endforeach()
if(NOT commands)
  message(FATAL_ERROR "no commands in the help of ${CLI}")
endif()
string(FIND "${help}" "\nCommands:" commands_start)
string(SUBSTRING "${help}" 0 ${commands_start} option_part)
string(REGEX MATCHALL "--[a-z-]+" options "${option_part}")
list(REMOVE_DUPLICATES options)

# The man page.
string(FIND "${help}" "\n\n" synopsis_end)
string(SUBSTRING "${help}" 0 ${synopsis_end} synopsis)
string(SUBSTRING "${help}" ${synopsis_end} -1 description)
string(REGEX REPLACE "^Usage: " "" synopsis "${synopsis}")
string(STRIP "${description}" description)
roff_verbatim(synopsis "${synopsis}")
roff_verbatim(description "${description}")
set(man ".TH DUNMERE\\-CLI 1 \"\" \"dunmere\\-cli ${VERSION}\" \"User Commands\"\n")
string(APPEND man ".SH NAME\ndunmere\\-cli \\- talks to the moisture sensors on an RS\\-485 bus\n")
string(APPEND man ".SH SYNOPSIS\n.nf\n${synopsis}\n.fi\n.SH DESCRIPTION\n.nf\n${description}\n.fi\n.SH COMMANDS\n")
foreach(command IN LISTS commands)
  run_help(command_help ${command} --help)
  string(REGEX REPLACE "^Usage: [^\n]*\n\n" "" body "${command_help}")
  string(REGEX MATCH "^Usage: dunmere-cli \\[BUS\\] \\[OPTIONS\\] ([^\n]*)" usage "${command_help}")
  set(usage "${CMAKE_MATCH_1}")
  string(STRIP "${body}" body)
  # Words a command takes as they stand: its options and its lower-case choices.
  string(REGEX MATCHALL "--[a-z-]+|[ ][a-z]+(\\|[a-z]+)+" words "${usage}")
  string(REPLACE "|" ";" words "${words}")
  string(REPLACE " " "" words "${words}")
  list(APPEND words --help)
  list(JOIN words " " words)
  string(APPEND cases "        ${command}) words=\"${words}\" ;;\n")
  roff_verbatim(usage "${usage}")
  roff_verbatim(body "${body}")
  string(APPEND man ".SS ${usage}\n.nf\n${body}\n.fi\n")
endforeach()
string(APPEND man ".SH FILES\n.TP\n.I $ALLUSERSPROFILE/Quelmar/Dunmere/config.ini\n")
string(APPEND man "or ~/.local/share/Quelmar/Dunmere/config.ini: the language, the serial port names and the texts, as the window uses them.\n")
string(APPEND man ".SH SEE ALSO\n.BR dunmere (1),\n.BR dunmere\\-sim (1)\n")
file(WRITE ${OUT_DIR}/dunmere-cli.1 "${man}")

# The bash completion.
list(JOIN commands " " command_words)
list(JOIN options " " option_words)
file(WRITE ${OUT_DIR}/dunmere-cli.bash "# bash completion for dunmere-cli ${VERSION}, written from its help.
_dunmere_cli()
{
    local cur=\"\${COMP_WORDS[COMP_CWORD]}\" prev=\"\${COMP_WORDS[COMP_CWORD-1]}\"
    local command='' words i
    case \"\$prev\" in
        --serial) COMPREPLY=(\$(compgen -f -- \"\${cur:-/dev/tty}\")); return ;;
        --tcp|--search-speed|--language) return ;;
    esac
    for ((i = 1; i < COMP_CWORD; i++)); do
        case \" ${command_words} \" in *\" \${COMP_WORDS[i]} \"*) command=\${COMP_WORDS[i]}; break ;; esac
    done
    if [[ -z \$command ]]; then
        if [[ \$cur == -* ]]; then words='${option_words}'; else words='${command_words}'; fi
    else
        case \"\$command\" in
${cases}        esac
    fi
    COMPREPLY=(\$(compgen -W \"\$words\" -- \"\$cur\"))
}
complete -F _dunmere_cli dunmere-cli
")
