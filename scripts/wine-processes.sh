# Sourced by the run command and the benchmark scripts: the Linux processes
# of one Wine prefix, found through the WINEPREFIX of their environment, so
# that copies running for other prefixes are left alone.

# Every process whose environment names the prefix $1: Wine's and those of
# the scripts that started them, the private Xvfb included. One grep reads
# every environment: a pipeline for each process would take half a second on
# a busy machine, and the run command asks often.
prefix_pids() {
  # Listed before grep and sed start, so that they are not among them.
  local environs=(/proc/[0-9]*/environ)
  grep -lzxF "WINEPREFIX=$1" "${environs[@]}" 2>/dev/null | sed 's|^/proc/||; s|/environ$||'
  return 0
}

# The processes of prefix $1 that run the Windows program $2 (a file name
# such as quillon.exe). Once started, Wine puts the program's Windows path
# first on the command line; until then the process shows the command that
# starts it (/usr/bin/wine, wine64 or its preloader, then the program), and
# such a process is the program too, only still starting.
program_pids() {
  local pid line previous name
  for pid in $(prefix_pids "$1"); do
    previous=wine
    while IFS= read -r line; do
      name=${line##*[\\/]}
      if [ "${name,,}" = "${2,,}" ] && [[ "$previous" =~ ^wine(64)?(-preloader)?$ ]]; then
        echo "$pid"
        break
      fi
      previous=$name
    done < <({ tr '\0' '\n' <"/proc/$pid/cmdline"; } 2>/dev/null)
  done
  return 0
}

# Wine's own processes of prefix $1: its server and every Windows program,
# starting or started (not the scripts around them, nor the X server).
wine_pids() {
  local pid first
  for pid in $(prefix_pids "$1"); do
    first=$({ tr '\0' '\n' <"/proc/$pid/cmdline"; } 2>/dev/null | head -n 1)
    first=${first##*[\\/]}
    case "${first,,}" in
      *.exe | wine | wine64 | wine-preloader | wine64-preloader | wineserver | wineserver64) echo "$pid" ;;
      # /usr/bin/wine is a shell script: "/bin/sh -e /usr/bin/wine program".
      sh) { tr '\0' '\n' <"/proc/$pid/cmdline"; } 2>/dev/null | head -n 3 | grep -q '/wine$' && echo "$pid" ;;
    esac
  done
  return 0
}

# The DISPLAY that Wine process $1 was started with, or nothing.
display_of() {
  { tr '\0' '\n' <"/proc/$1/environ"; } 2>/dev/null | sed -n 's/^DISPLAY=//p'
}
