# Sourced by the scripts: start_xvfb starts one private X server
# (1024x768, 24 bits, no TCP) and exports DISPLAY for it; stop_xvfb ends it.
xvfb_pid=""
xvfb_dir=""

start_xvfb() {
  xvfb_dir=$(mktemp -d)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
    3>"$xvfb_dir/display" >"$xvfb_dir/log" 2>&1 &
  xvfb_pid=$!
  local waited=0
  while [ ! -s "$xvfb_dir/display" ]; do
    if ! kill -0 "$xvfb_pid" 2>/dev/null || [ $waited -ge 100 ]; then
      echo "Xvfb did not start:" >&2
      cat "$xvfb_dir/log" >&2
      return 1
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  export DISPLAY=":$(head -n1 "$xvfb_dir/display" | tr -d '[:space:]')"
}

stop_xvfb() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
  fi
  if [ -n "$xvfb_dir" ]; then
    rm -rf "$xvfb_dir"
    xvfb_dir=""
  fi
}
