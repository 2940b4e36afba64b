#!/usr/bin/env bash
# Starts the window of `sylva` (no -FORCE) on a virtual X server, checks that it is still up
# after a few seconds, ends it with SIGTERM and expects exit status 0, as a session logout would.
# Usage: tests/app/window/xvfb_smoke.sh [path of sylva]   (default: build/src/app/sylva)
set -euo pipefail
cd "$(dirname "$0")/../../.."
sylva=$(realpath "${1:-build/src/app/sylva}")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Inside the X session: start the window, let it settle, end it, and pass its status on.
cat >"$scratch/session.sh" <<'SESSION'
#!/usr/bin/env bash
cd "$2"
"$1" -PROJECT=Smoke -SCAN=. &
window=$!
sleep 4
if ! kill -0 "$window" 2>/dev/null; then
    wait "$window" || true
    echo "xvfb smoke: the window ended on its own" >&2
    exit 3
fi
kill -TERM "$window"
status=0
wait "$window" || status=$?
echo "xvfb smoke: the window ended with status $status"
exit "$status"
SESSION
chmod +x "$scratch/session.sh"

unset QT_QPA_PLATFORM
xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" \
    "$scratch/session.sh" "$sylva" "$scratch"
