#!/bin/bash
# The Windows programs driven from outside under Wine on the X server in
# DISPLAY, with the installation folder set in Wine's registry:
#   run_wine_e2e.sh WINDOWS_BUILD [LINUX_BIN]
# WINDOWS_BUILD is tools/build-windows.sh's folder (programs, tests and the
# installer); LINUX_BIN, when given,
# holds the Linux pak and config.exe for the byte-format comparisons.
# As root it also runs the full screen on a private two-monitor Xorg.
# Ends with "windows: N passed, N failed"; exits non-zero on any failure.
set -u
here=$(cd "$(dirname "$0")" && pwd)
win=$(cd "$1" && pwd)
linux_bin=${2:+$(cd "$2" && pwd)}
. "$here/wine_env.sh"
. "$here/../support/dummy_xorg.sh"
[ -n "${DISPLAY:-}" ] || { echo "run_wine_e2e.sh: no DISPLAY" >&2; exit 1; }
wine_prefix_ready || exit 1
work=$(mktemp -d)
trap 'wine_prefix_done; stop_two_monitor_xorg; rm -rf "$work"' EXIT

passed=0
failed=0
check() {
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "PASS $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name"
  fi
}

settings_key='HKLM\Software\Korvanta\Gardenlume\Settings'
set_folder() { wine reg add "$settings_key" /v Path /d "$(winepath -w "$1")\\" /f >/dev/null 2>&1; }
clear_folder() { wine reg delete "$settings_key" /v Path /f >/dev/null 2>&1 || true; }

saver_windows() { xdotool search --onlyvisible --classname 'gardenlume\.scr' 2>/dev/null; }

# Waits up to $2 seconds for process $1; its exit code, or 124 when it ran on.
wait_for() {
  local pid=$1 limit=$(( $2 * 10 )) i=0
  while kill -0 "$pid" 2>/dev/null; do
    if [ $i -ge "$limit" ]; then
      kill "$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
      return 124
    fi
    sleep 0.1
    i=$((i + 1))
  done
  wait "$pid"
}

# Mean colour of a region of a picture as "r g b", 0..255.
mean_rgb() {
  convert "$1" -crop "$2" +repage -scale '1x1!' -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:
}

# An installation folder: the saver and the packs, and the stand-in that
# records where it was started as config.exe.
make_install() {
  mkdir -p "$1"
  cp "$win/bin/gardenlume.scr" "$win/bin/"*.pak "$1/"
  cp "$win/tests/record_folder.exe" "$1/config.exe"
}

# ---- /s: the garden until Escape ----
inst=$work/inst
make_install "$inst"
set_folder "$inst"
saw_window=no
# $1: the saver to run, by default the one of the build.
test_garden() {
  (cd "$work" && exec wine "${1:-$win/bin/gardenlume.scr}" /s) &
  local pid=$! i=0
  while [ -z "$(saver_windows)" ] && [ $i -lt 200 ]; do sleep 0.1; i=$((i + 1)); done
  [ -n "$(saver_windows)" ] && saw_window=yes
  sleep 5
  import -window root "$work/garden.png" 2>/dev/null
  xdotool key Escape
  wait_for $pid 15
  local status=$?
  local sky lawn
  sky=$(mean_rgb "$work/garden.png" 1024x120+0+0)
  lawn=$(mean_rgb "$work/garden.png" 300x160+362+304)
  echo "  exit $status, sky $sky, lawn $lawn"
  [ $status -eq 0 ] || return 1
  # Sky: blue over red at the top. Lawn: lit green in the middle.
  read -r r g b <<<"$sky"
  [ "$b" -gt "$r" ] && [ "$b" -gt 120 ] || return 1
  read -r r g b <<<"$lawn"
  [ "$g" -gt "$r" ] && [ "$g" -gt "$b" ] && [ "$g" -gt 80 ]
}
check "/s shows the sky and the lit lawn, ends on Escape with 0" test_garden

# ---- the power plan and the screen saver still reach the saver's window ----
# $1: the probe's expected exit code (0 passed on, 1 swallowed); the rest
# are environment entries for the saver.
test_syscommand() {
  local expect=$1
  shift
  (cd "$work" && exec env "$@" wine "$win/bin/gardenlume.scr" /s) &
  local pid=$! i=0
  # Shown and drawing, so that the Escape below finds its window focused.
  while [ -z "$(saver_windows)" ] && [ $i -lt 200 ]; do sleep 0.1; i=$((i + 1)); done
  sleep 3
  # To a file: Wine's helper processes may inherit a pipe and hold it open.
  (cd "$win/tests" && wine ./syscommand_probe.exe >"$work/probe.txt" 2>/dev/null)
  local probe=$?
  tr -d '\r' <"$work/probe.txt" | sed 's/^/  /'
  xdotool key Escape
  wait_for $pid 15
  local status=$?
  echo "  probe $probe, saver exit $status"
  [ "$probe" -eq "$expect" ] && [ $status -eq 0 ]
}
check "SC_MONITORPOWER and SC_SCREENSAVE reach the default window procedure" test_syscommand 0
check "SDL_VIDEO_ALLOW_SCREENSAVER=0 from the user still keeps them out" \
  test_syscommand 1 SDL_VIDEO_ALLOW_SCREENSAVER=0

# ---- /p: declined at once, no window ----
test_preview() {
  [ "$saw_window" = yes ] || { echo "  (the window probe saw no saver window under /s)"; return 1; }
  (cd "$work" && exec wine "$win/bin/gardenlume.scr" /p 1234) &
  local pid=$! windows=""
  while kill -0 $pid 2>/dev/null; do
    windows+=$(saver_windows)
    sleep 0.05
  done
  wait_for $pid 10
  local status=$?
  echo "  exit $status, windows: ${windows:-none}"
  [ $status -eq 0 ] && [ -z "$windows" ]
}
check "/p 1234 ends with 0 and opens no window" test_preview

# ---- /c and no switch: config.exe from the installation folder ----
# $1: the folder config.exe must have been started in; the rest: the command.
started_in() {
  local folder=$1
  shift
  rm -f "$folder/started_in.txt"
  (cd "$work" && exec "$@") &
  wait_for $! 10 || { echo "  the saver did not end with 0"; return 1; }
  local i=0
  while [ ! -s "$folder/started_in.txt" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
  local got expected line
  got=$(head -n1 "$folder/started_in.txt" 2>/dev/null | tr -d '\r')
  expected=$(winepath -w "$folder")
  line=$(sed -n 2p "$folder/started_in.txt" 2>/dev/null | tr -d '\r')
  echo "  started in: ${got:-nothing}; command line: $line"
  # The switch "/c:<window>" is passed on as it came.
  local last=${!#}
  case "$last" in /c:*) [ "${line%" $last"}" != "$line" ] || return 1 ;; esac
  [ "$got" = "$expected" ]
}
check "/c starts config.exe in the registry's folder" started_in "$inst" wine "$win/bin/gardenlume.scr" /c
check "/c:1234 starts it with the switch passed on" started_in "$inst" wine "$win/bin/gardenlume.scr" /c:1234
check "no switch starts config.exe too" started_in "$inst" wine "$win/bin/gardenlume.scr"
clear_folder
own="$work/own folder"
make_install "$own"
check "/c without the value: config.exe of the saver's own folder" \
  started_in "$own" wine "$own/gardenlume.scr" /c

# ---- /c: the settings dialog of the real config.exe ----
dialog_windows() { xdotool search --onlyvisible --name '^Gardenlume settings$' 2>/dev/null; }
# Runs `gardenlume.scr /c`, waits for the dialog, types the keys given
# (xdotool key names) into it and waits for config.exe to end.
dialog_run() {
  (cd "$work" && exec wine "$win/bin/gardenlume.scr" /c) &
  wait_for $! 10 || return 1
  local i=0
  while [ -z "$(dialog_windows)" ] && [ $i -lt 200 ]; do sleep 0.1; i=$((i + 1)); done
  local w
  w=$(dialog_windows | head -n1)
  [ -n "$w" ] || { echo "  no window titled Gardenlume settings"; return 1; }
  xdotool windowfocus --sync "$w" 2>/dev/null
  sleep 0.3
  xdotool key --delay 100 "$@"
  i=0
  while [ -n "$(dialog_windows)" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
  [ -z "$(dialog_windows)" ] || { echo "  the dialog stayed open"; return 1; }
  # config.exe has ended once its window is gone; its file is written before.
  sleep 0.5
}
dlg=$work/dialog
mkdir -p "$dlg"
cp "$win/bin/gardenlume.scr" "$win/bin/config.exe" "$dlg/"
set_folder "$dlg"
# version 1, mouse byte, spare 0, mode, two empty texts: 21 bytes.
cfg_bytes() { printf '01000000%02x00000000%02x0000000000000000000000' "$2" "$1"; }
test_dialog_writes() {
  # From no file: the default row 5, two rows down and the box ticked.
  dialog_run Down Down Tab space Return || return 1
  local got
  got=$(xxd -p "$dlg/cfg" 2>/dev/null | tr -d '\n')
  echo "  cfg: ${got:-none}"
  [ "$got" = "$(cfg_bytes 7 1)" ]
}
check "/c opens the dialog; keys choose row 7 and tick the box; Enter writes the 21 bytes" test_dialog_writes
test_dialog_shows_file() {
  # Row 7 and a ticked box shown: one up and a click on the box give row 6, off.
  dialog_run Up Tab space Return || return 1
  local got
  got=$(xxd -p "$dlg/cfg" 2>/dev/null | tr -d '\n')
  echo "  cfg: ${got:-none}"
  [ "$got" = "$(cfg_bytes 6 0)" ]
}
check "a second run shows the file's row and box" test_dialog_shows_file
test_dialog_cancel() {
  local keys
  cp "$dlg/cfg" "$work/cfg.before"
  # Escape, and Cancel reached by Tab (list, box, OK, Cancel).
  for keys in "Down Tab space Escape" "Down Tab space Tab Tab Return"; do
    # shellcheck disable=SC2086
    dialog_run $keys || return 1
    cmp "$dlg/cfg" "$work/cfg.before" || return 1
  done
}
check "Escape and Cancel leave cfg byte for byte" test_dialog_cancel
test_dialog_desktop_first() {
  dialog_run Home Return || return 1
  local got
  got=$(xxd -p "$dlg/cfg" 2>/dev/null | tr -d '\n')
  echo "  cfg: ${got:-none}"
  [ "$got" = "$(cfg_bytes 18 0)" ]
}
check "the desktop mode heads the list: Home and Enter write row 18" test_dialog_desktop_first
test_dialog_refuses_foreign() {
  printf '\002\000\000\000foreign settings' >"$dlg/cfg"
  cp "$dlg/cfg" "$work/cfg.before"
  (cd "$work" && exec wine "$dlg/config.exe") &
  local pid=$! i=0
  while [ -z "$(dialog_windows)" ] && [ $i -lt 200 ]; do sleep 0.1; i=$((i + 1)); done
  xdotool windowfocus --sync "$(dialog_windows | head -n1)" 2>/dev/null
  xdotool key Down Return
  # The message box has the dialog's title too.
  i=0
  while [ "$(dialog_windows | wc -l)" -lt 2 ] && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
  local count
  count=$(dialog_windows | wc -l)
  import -window root "$work/refused.png" 2>/dev/null
  xdotool key Return
  sleep 0.5
  xdotool key Escape
  wait_for $pid 10
  local status=$?
  echo "  windows with the title after OK: $count, exit $status"
  [ "$count" -ge 2 ] && [ $status -eq 0 ] && cmp "$dlg/cfg" "$work/cfg.before"
}
check "OK on a cfg of another format says so and leaves it" test_dialog_refuses_foreign
clear_folder

# ---- a missing main.pak ends with 1 ----
test_missing_pack() {
  local bare=$work/bare
  make_install "$bare"
  rm "$bare/main.pak"
  set_folder "$bare"
  (cd "$work" && exec wine "$win/bin/gardenlume.scr" /s) &
  wait_for $! 30
  local status=$?
  echo "  exit $status"
  [ $status -eq 1 ]
}
check "a missing main.pak ends with 1" test_missing_pack
clear_folder

# ---- a folder that is an administrator's: a standard user saves by consent ----
# As root only: config.exe runs as nobody, in a Wine prefix of its own, over
# an installation folder that root owns. Wine raises no rights for "runas",
# so the program it starts fails to write as well; the test reads the verb
# and the values from Wine's trace of ShellExecuteEx, then gives that
# command line the rights an administrator's consent would: runs it as root.
if [ "$(id -u)" -eq 0 ]; then
  admin=$work/admin
  mkdir -p "$admin" "$work/nobody"
  cp "$win/bin/gardenlume.scr" "$win/bin/config.exe" "$admin/"
  cfg_bytes 5 0 | xxd -r -p >"$admin/cfg"
  chmod 755 "$work" "$admin"
  chmod 644 "$admin/cfg"
  chown 65534:65534 "$work/nobody"
  as_nobody() {
    setpriv --reuid=65534 --regid=65534 --clear-groups \
      env HOME="$work/nobody" WINEPREFIX="$work/nobody/prefix" DISPLAY="$DISPLAY" "$@"
  }
  admin_ready() {
    as_nobody wineboot -i >/dev/null 2>&1 &&
      as_nobody wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 &&
      as_nobody wine reg add "$settings_key" /v Path /d "$(winepath -w "$admin")\\" /f >/dev/null 2>&1
  }
  test_consent_asked() {
    admin_ready || { echo "  no Wine prefix for nobody"; return 1; }
    cp "$admin/cfg" "$work/cfg.before"
    as_nobody env WINEDEBUG=-all,trace+exec wine "$admin/config.exe" 2>"$work/exec-trace.txt" &
    local pid=$! i=0
    while [ -z "$(dialog_windows)" ] && [ $i -lt 300 ]; do sleep 0.1; i=$((i + 1)); done
    xdotool windowfocus --sync "$(dialog_windows | head -n1)" 2>/dev/null
    sleep 0.3
    # Row 7 and the box ticked, then OK: Wine's "runas" run fails as nobody,
    # which the dialog reports in a message box of its own title.
    xdotool key --delay 100 Down Down Tab space Return
    i=0
    while [ "$(dialog_windows | wc -l)" -lt 2 ] && [ $i -lt 300 ]; do sleep 0.1; i=$((i + 1)); done
    local boxes
    boxes=$(dialog_windows | wc -l)
    xdotool key Return
    sleep 0.5
    local open_after
    open_after=$(dialog_windows | wc -l)
    xdotool key Escape
    wait_for $pid 20
    local status=$?
    local call
    call=$(grep -o 'verb=L"runas" file=L"[^"]*" parm=L"[^"]*"' "$work/exec-trace.txt" | head -n1)
    echo "  windows after OK: $boxes, still open after the message: $open_after, exit $status"
    echo "  ShellExecuteEx: ${call:-none}"
    [ "$boxes" -ge 2 ] && [ "$open_after" -ge 1 ] && [ $status -eq 0 ] || return 1
    case "$call" in *'config.exe" parm=L"--mode 7 --mouse-exit on"') ;; *) return 1 ;; esac
    cmp "$admin/cfg" "$work/cfg.before" || { echo "  cfg changed before the elevated run"; return 1; }
    # The elevated run: the same command line with an administrator's rights.
    set_folder "$admin"
    wine "$admin/config.exe" --mode 7 --mouse-exit on >/dev/null 2>&1 || return 1
    clear_folder
    local got
    got=$(xxd -p "$admin/cfg" | tr -d '\n')
    echo "  cfg after the elevated run: $got"
    [ "$got" = "$(cfg_bytes 7 1)" ]
  }
  check "a standard user's OK over an administrator's folder asks consent: runas config.exe --mode 7 --mouse-exit on" \
    test_consent_asked
  test_no_prompt_on_the_command_line() {
    cp "$admin/cfg" "$work/cfg.before"
    as_nobody wine "$admin/config.exe" --mode 3 >"$work/nobody-out.txt" 2>&1
    local status=$?
    echo "  exit $status: $(tr -d '\r' <"$work/nobody-out.txt")"
    [ $status -eq 1 ] && grep -q 'run config.exe as an administrator to change them' "$work/nobody-out.txt" &&
      cmp "$admin/cfg" "$work/cfg.before"
  }
  check "config.exe --mode 3 there exits 1, names the administrator and leaves cfg" test_no_prompt_on_the_command_line
  as_nobody wineserver -k >/dev/null 2>&1
fi

# ---- the same bytes on both systems ----
pak_exe() { wine "$win/bin/pak.exe" "$@" 2>&1 | tr -d '\r'; }
test_pak_verify() { (cd "$win/bin" && wine ./pak.exe verify . >/dev/null 2>&1); }
check "pak.exe verifies the packs painted on Linux" test_pak_verify
if [ -n "$linux_bin" ]; then
  test_pak_same() {
    local p
    for p in main.pak butterfly1.pak; do
      diff <("$linux_bin/pak" list "$win/bin/$p" 2>&1) <(pak_exe list "$(winepath -w "$win/bin/$p")") || return 1
    done
    diff <("$linux_bin/pak" info "$win/bin/main.pak" tree 2>&1) \
      <(pak_exe info "$(winepath -w "$win/bin/main.pak")" tree) || return 1
    # A pack written by pak.exe reads the same on Linux.
    (cd "$work" && wine "$win/bin/pak.exe" create win.pak garden.png >/dev/null 2>&1) || return 1
    (cd "$work" && "$linux_bin/pak" create linux.pak garden.png >/dev/null 2>&1) || return 1
    cmp "$work/win.pak" "$work/linux.pak"
  }
  check "pak.exe and Linux pak read and write packs alike" test_pak_same
  test_cfg_same() {
    mkdir -p "$work/cfg_win" "$work/cfg_linux"
    cp "$win/bin/config.exe" "$work/cfg_win/"
    cp "$linux_bin/config.exe" "$work/cfg_linux/"
    wine "$work/cfg_win/config.exe" --mode 3 --mouse-exit on >/dev/null 2>&1 || return 1
    GARDENLUME_REGISTRY=/nonexistent "$work/cfg_linux/config.exe" --mode 3 --mouse-exit on >/dev/null 2>&1 || return 1
    cmp "$work/cfg_win/cfg" "$work/cfg_linux/cfg" || return 1
    # Written again: the old file is replaced.
    wine "$work/cfg_win/config.exe" --mode 5 >/dev/null 2>&1 || return 1
    GARDENLUME_REGISTRY=/nonexistent "$work/cfg_linux/config.exe" --mode 5 >/dev/null 2>&1 || return 1
    cmp "$work/cfg_win/cfg" "$work/cfg_linux/cfg"
  }
  check "config.exe writes the same cfg bytes on both systems" test_cfg_same
fi

# ---- the installer and its uninstaller, silent ----
setup=$(find "$win" -maxdepth 1 -name 'gardenlume-setup-*.exe' | head -n1)
c_drive=$WINEPREFIX/drive_c
installed="$c_drive/Program Files/Gardenlume"
system_saver=$c_drive/windows/system32/gardenlume.scr
installed_files="gardenlume.scr config.exe pak.exe LICENSE THIRD-PARTY-NOTICES.txt main.pak butterfly1.pak butterfly2.pak butterfly3.pak
  butterfly4.pak butterfly5.pak uninstall.exe"
registry_path() { wine reg query "$settings_key" /v Path 2>/dev/null | tr -d '\r' | sed -n 's/^ *Path *REG_SZ *//p'; }
test_install() {
  [ -n "$setup" ] || { echo "  no installer in $win"; return 1; }
  (cd "$work" && wine "$setup" /S) || { echo "  the installer failed"; return 1; }
  local f
  for f in $installed_files; do
    [ -s "$installed/$f" ] || { echo "  missing: $f"; return 1; }
  done
  cmp "$system_saver" "$win/bin/gardenlume.scr" || return 1
  local p cfg
  p=$(registry_path)
  cfg=$(xxd -p "$installed/cfg" 2>/dev/null | tr -d '\n')
  echo "  Path: $p, cfg: ${cfg:-none}"
  [ "$p" = 'C:\Program Files\Gardenlume\' ] && [ "$cfg" = "$(cfg_bytes 18 0)" ]
}
check "the installer (/S) puts the files, the system folder's saver, Path and a desktop-mode cfg in place" \
  test_install
test_sdl_source_beside() {
  # The LGPL's due: the source the static SDL was built from, our patch in it.
  tar -xzOf "$win/libsdl1.2-1.2.15+dfsg2-8-gardenlume.tar.gz" --wildcards '*/src/video/windib/SDL_dibvideo.c' |
    grep -q 'ChangeDisplaySettings(NULL, CDS_FULLSCREEN)'
}
check "SDL's source with our patch lies beside the installer" test_sdl_source_beside
test_install_keeps_cfg() {
  # Another format and trailing text: the installer must not even read it.
  printf '\002\000\000\000 settings of an earlier install' >"$installed/cfg"
  cp "$installed/cfg" "$work/cfg.before"
  (cd "$work" && wine "$setup" /S) || { echo "  the installer failed"; return 1; }
  cmp "$installed/cfg" "$work/cfg.before"
}
check "the installer run again keeps an existing cfg byte for byte" test_install_keeps_cfg
check "the installed saver (/s) shows the garden and ends on Escape with 0" \
  test_garden 'C:\windows\system32\gardenlume.scr'
test_uninstall() {
  [ -x "$installed/config.exe" ] || return 1
  # Settings written after installing go too.
  wine "$installed/config.exe" --reset --mode 3 >/dev/null 2>&1 || return 1
  [ -s "$installed/cfg" ] || return 1
  (cd "$work" && wine "$installed/uninstall.exe" /S) || { echo "  the uninstaller failed"; return 1; }
  # It goes on from a copy of itself in the temporary folder.
  local i=0
  while { [ -e "$installed" ] || [ -e "$system_saver" ] || [ -n "$(registry_path)" ]; } && [ $i -lt 100 ]; do
    sleep 0.3
    i=$((i + 1))
  done
  echo "  left: $(ls -A "$installed" 2>/dev/null | tr '\n' ' ')$( [ -e "$system_saver" ] && echo 'system32\gardenlume.scr ')$(registry_path)"
  [ ! -e "$installed" ] && [ ! -e "$system_saver" ] && [ -z "$(registry_path)" ] &&
    ! wine reg query 'HKLM\Software\Korvanta' >/dev/null 2>&1
}
check "the uninstaller (/S) removes the files, the system folder's saver and the value" test_uninstall

# ---- two monitors: the second one black while a fixed mode runs, a ----
# ---- garden on each in the desktop mode ----
# As root only: a private Xorg with the dummy driver, a red X window on its
# second monitor. Wine keeps the monitors of the server it started on, so it
# is ended before and after.
second_monitor() {
  import -window root "$work/two.png" 2>/dev/null
  mean_rgb "$work/two.png" 680x480+860+60
}
red_shown() { local r g b; read -r r g b <<<"$(second_monitor)"; [ "$r" -gt 200 ] && [ $((g + b)) -lt 40 ]; }
black_shown() { local r g b; read -r r g b <<<"$(second_monitor)"; [ $((r + g + b)) -lt 24 ]; }
# /s with mouse byte $1, the red window having the focus; once the second
# monitor is black and the 3 s of grace are over, $2... must end the saver
# with 0 and bring the red window back. (Wine, unlike SDL on X11, grabs no
# keyboard: the saver takes the focus as it starts, as on Windows.) The
# screen mode is 3 (800x600, the monitors' size) unless MODE says.
two_monitor_run() {
  local mouse=$1 i=0 started=$SECONDS
  shift
  xdotool windowfocus "$red_window" 2>/dev/null
  cfg_bytes "${MODE:-3}" "$mouse" | xxd -r -p >"$two/cfg"
  (cd "$work" && exec wine "$two/gardenlume.scr" /s) &
  local pid=$!
  while ! black_shown && [ $i -lt 60 ]; do sleep 0.5; i=$((i + 1)); done
  black_shown || { echo "  the second monitor stayed in view"; wineserver -k; return 1; }
  while [ $((SECONDS - started)) -lt 5 ]; do sleep 0.2; done
  import -window root "$work/two-running.png" 2>/dev/null
  "$@"
  wait_for $pid 20
  local status=$?
  [ $status -ne 124 ] || wineserver -k >/dev/null 2>&1
  echo "  exit $status"
  [ $status -eq 0 ] && red_shown
}
if [ "$(id -u)" -eq 0 ]; then
  test_display=$DISPLAY
  wineserver -k >/dev/null 2>&1
  if start_two_monitor_xorg; then
    two=$work/two
    make_install "$two"
    set_folder "$two"
    xlogo -bg red -fg red -geometry 700x500+850+50 >/dev/null 2>&1 &
    for _ in $(seq 100); do
      red_window=$(xdotool search --onlyvisible --classname xlogo 2>/dev/null | head -n1)
      [ -n "$red_window" ] && red_shown && break
      sleep 0.1
    done
    check "two monitors: /s blacks out the second; Escape ends it with 0 and shows it again" \
      two_monitor_run 0 xdotool key Escape
    check "two monitors: with the mouse rule, movement towards the second ends it with 0" \
      two_monitor_run 1 xdotool mousemove 1200 300 mousemove 1300 400
    # The desktop mode: a whole garden on each monitor, the two alike, no
    # display mode changed; Escape ends it with 0 and the red window shows again.
    every_monitor_run() {
      local modes fails=0
      xdotool windowfocus "$red_window" 2>/dev/null
      cfg_bytes 18 0 | xxd -r -p >"$two/cfg"
      modes=$(xrandr --current | grep -v '^ ')
      (cd "$work" && exec wine "$two/gardenlume.scr" /s) &
      local pid=$!
      sleep 8
      import -window root "$work/every.png" 2>/dev/null
      [ "$(xrandr --current | grep -v '^ ')" = "$modes" ] || { echo "  a display mode changed"; fails=1; }
      xdotool key Escape
      wait_for $pid 20
      local code=$?
      [ $code -ne 124 ] || wineserver -k >/dev/null 2>&1
      echo "  exit $code"
      judge_every_monitor "$work/every.png" 800x600+0+0 800x600+800+0 && [ $code -eq 0 ] && red_shown && [ $fails -eq 0 ]
    }
    check "two monitors: the desktop mode shows a whole garden on each, alike, until Escape ends it with 0" \
      every_monitor_run
    # The other monitor left of the primary: a negative place on Windows.
    wineserver -k >/dev/null 2>&1
    xrandr --output DUMMY1 --pos 0x0 --output DUMMY0 --pos 800x0 --primary
    check "two monitors, the other left of the primary: a whole garden on each until Escape" every_monitor_run
    wineserver -k >/dev/null 2>&1
  else
    check "a private two-monitor Xorg starts" false
  fi
  stop_two_monitor_xorg

  # ---- one 1920x1080 monitor that offers 1024x768 too ----
  wineserver -k >/dev/null 2>&1
  if start_desktop_xorg; then
    desk=$work/desk
    make_install "$desk"
    set_folder "$desk"
    # The screen's size every 100 ms, one line a sample in modes.txt, until
    # the file $work/sampling goes.
    sample_modes() {
      while [ -e "$work/sampling" ]; do
        xrandr --current 2>/dev/null | head -n1 | grep -o 'current [0-9]* x [0-9]*' >>"$work/modes.txt"
        sleep 0.1
      done
    }
    # /s in mode $1 until the garden has shown 4 s; the picture in
    # $work/desk.png; the exit code.
    desktop_run() {
      cfg_bytes "$1" 0 | xxd -r -p >"$desk/cfg"
      : >"$work/modes.txt"
      touch "$work/sampling"
      sample_modes &
      sampler=$!
      local i=0 r g b
      (cd "$work" && exec wine "$desk/gardenlume.scr" /s) &
      local pid=$!
      while [ $i -lt 60 ]; do
        read -r r g b <<<"$(import -window root "$work/desk.png" 2>/dev/null && mean_rgb "$work/desk.png" 64x64+928+508)"
        [ $((${r:-0} + ${g:-0} + ${b:-0})) -gt 60 ] && break
        sleep 0.5
        i=$((i + 1))
      done
      sleep 4
      import -window root "$work/desk.png" 2>/dev/null
      xdotool key Escape
      wait_for $pid 20
      local status=$?
      [ $status -ne 124 ] || wineserver -k >/dev/null 2>&1
      ended_at=$(date +%s%N)
      echo "  exit $status"
      [ $status -eq 0 ]
    }
    stop_sampling() { rm -f "$work/sampling"; wait "$sampler" 2>/dev/null; sort "$work/modes.txt" | uniq -c | sed 's/^/  /'; }
    test_desktop_mode() {
      desktop_run 18
      local status=$?
      stop_sampling
      [ $status -eq 0 ] || return 1
      # Only ever the desktop's own mode.
      [ "$(sort -u "$work/modes.txt")" = "current 1920 x 1080" ] || return 1
      local sky meadow left right r g b
      sky=$(mean_rgb "$work/desk.png" 1920x60+0+0)
      meadow=$(mean_rgb "$work/desk.png" 1920x60+0+1020)
      left=$(mean_rgb "$work/desk.png" 8x1080+0+0)
      right=$(mean_rgb "$work/desk.png" 8x1080+1912+0)
      echo "  sky $sky, meadow $meadow, left edge $left, right edge $right"
      read -r r g b <<<"$sky"
      [ "$b" -gt "$r" ] && [ "$b" -gt 120 ] || return 1
      read -r r g b <<<"$meadow"
      [ "$g" -gt "$r" ] && [ "$g" -gt "$b" ] || return 1
      read -r r g b <<<"$left"
      [ $((r + g + b)) -gt 60 ] || return 1
      read -r r g b <<<"$right"
      [ $((r + g + b)) -gt 60 ]
    }
    check "1920x1080: /s in the desktop mode fills the screen and never changes the mode" test_desktop_mode
    test_fixed_mode_restores() {
      desktop_run 5
      local status=$?
      # The desktop's mode again within a second of the end.
      local back=no i=0
      while [ $i -lt 20 ]; do
        if xrandr --current 2>/dev/null | head -n1 | grep -q 'current 1920 x 1080'; then back=yes; break; fi
        sleep 0.05
        i=$((i + 1))
      done
      local took=$(( ($(date +%s%N) - ended_at) / 1000000 ))
      stop_sampling
      echo "  1920x1080 again: $back, $took ms after the end"
      [ $status -eq 0 ] && [ $back = yes ] && [ $took -le 1000 ] &&
        grep -q 'current 1024 x 768' "$work/modes.txt"
    }
    check "1920x1080: /s in mode 5 switches to 1024x768 and gives 1920x1080 back within a second" \
      test_fixed_mode_restores
    wineserver -k >/dev/null 2>&1
    stop_dummy_xorg
  else
    check "a private 1920x1080 Xorg starts" false
  fi
  export DISPLAY=$test_display
fi

echo "windows: $passed passed, $failed failed"
[ $failed -eq 0 ]
