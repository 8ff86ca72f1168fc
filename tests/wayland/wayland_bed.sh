# Sourced by the Wayland test beds (as root): the compositors run as a user
# of their own, gardenlume-e2e, made here when missing (sway refuses root),
# in a private folder $work, with an installation folder of the build's
# programs and packs.
#   bed_setup BUILD   $work with run/ (XDG_RUNTIME_DIR) and home/ (HOME) of
#                     the user, inst/ (saver, gardenlume-idle, packs, the
#                     test helpers) and inst.reg, the registry file naming it
#   cfg_at MOUSE ROW  inst/cfg: the mouse rule (0, 1) and the screen mode (18 desktop)
#   as_user CMD...    runs CMD as the user, in its folders, with the
#                     environment $bed_env holds (NAME=VALUE words)
bed_user=gardenlume-e2e
bed_env=()

bed_setup() {
  local build=$1
  id "$bed_user" >/dev/null 2>&1 ||
    useradd --system --user-group --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$bed_user" ||
    return 1
  work=$(mktemp -d)
  chmod 755 "$work"
  mkdir -m 700 "$work/run" "$work/home"
  chown "$bed_user:" "$work/run" "$work/home"
  mkdir "$work/inst"
  cp "$build/bin/"*.pak "$build/bin/gardenlume.scr" "$build/bin/gardenlume-idle" "$work/inst/" || return 1
  cp "$build/tests/virtual_pointer" "$build/tests/desktop_input" "$work/inst/" 2>/dev/null
  printf 'Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Korvanta\\Gardenlume\\Settings]\n"Path"="%s/"\n' \
    "$work/inst" >"$work/inst.reg"
  chmod -R a+rX "$work/inst" "$work/inst.reg"
}

cfg_at() { printf '01000000%02x00000000%02x0000000000000000000000' "$1" "$2" | xxd -r -p >"$work/inst/cfg"; }

as_user() {
  setpriv --reuid "$bed_user" --regid "$bed_user" --init-groups env -i PATH=/usr/bin:/bin HOME="$work/home" \
    XDG_RUNTIME_DIR="$work/run" GARDENLUME_REGISTRY="$work/inst.reg" "${bed_env[@]}" "$@"
}

# Polls a command each 0.2 s for at most $1 seconds.
wait_for() {
  local i
  for ((i = 0; i < $1 * 5; i++)); do "${@:2}" && return 0; sleep 0.2; done
  return 1
}
gone() { ! kill -0 "$1" 2>/dev/null; }
# gardenlume-idle's garden: the gardenlume.scr child of its process $1.
garden_of() { pgrep -P "$1" -x gardenlume.scr; }
no_garden_of() { ! garden_of "$1" >/dev/null; }
