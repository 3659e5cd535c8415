# Sourced: starts a private Xvfb, waits until it accepts connections and exports DISPLAY.
# The server is stopped when the sourcing shell exits.
start_xvfb() {
  local fdfile
  fdfile=$(mktemp)
  # -noreset: by default the server resets whenever its last client leaves, and drops the
  # connections that arrive meanwhile; a program that closes its window and opens the next
  # one would now and then be refused.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fdfile" >/dev/null 2>&1 &
  XVFB_PID=$!
  trap 'kill $XVFB_PID 2>/dev/null || true' EXIT
  # Xvfb writes its display number only once it is ready for clients.
  for _ in $(seq 1 200); do
    if [ -s "$fdfile" ]; then break; fi
    if ! kill -0 "$XVFB_PID" 2>/dev/null; then echo "Xvfb failed to start" >&2; return 1; fi
    sleep 0.1
  done
  if [ ! -s "$fdfile" ]; then echo "Xvfb did not answer" >&2; return 1; fi
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
  echo "Xvfb running on $DISPLAY"
}
