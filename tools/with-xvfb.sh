#!/usr/bin/env bash
# Runs a command on a private Xvfb server, on Mesa's software renderer, and
# stops the server afterwards. The command's exit status is passed on.
#   tools/with-xvfb.sh COMMAND [ARGUMENT...]
set -u

state=$(mktemp -d)
xvfb_pid=
stop_xvfb() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$state"
}
trap stop_xvfb EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# -displayfd picks a free display number and writes it once the server is ready.
# -noreset: without it the server resets whenever its last client leaves, and
# a client that connects during the reset (the benchmark right after a probe
# of the GL strings) is refused.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$state/display" 2>"$state/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 200); do
    [ -s "$state/display" ] && break
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
        echo "with-xvfb: Xvfb did not start:" >&2
        cat "$state/xvfb.log" >&2
        exit 1
    fi
    sleep 0.05
done
if [ ! -s "$state/display" ]; then
    echo "with-xvfb: Xvfb did not become ready" >&2
    exit 1
fi

export DISPLAY=":$(head -n 1 "$state/display")"
"$@"
exit $?
