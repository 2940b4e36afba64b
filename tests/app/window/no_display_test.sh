#!/bin/sh
# Without a display, `sylva` without -FORCE says so on standard error, suggests -FORCE and exits
# with status 2, instead of letting Qt abort. Usage: no_display_test.sh <path of sylva>
sylva=$1
message=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$sylva" -PROJECT=Demo 2>&1 >/dev/null)
status=$?
if [ "$status" -ne 2 ]; then
    echo "exit status $status, expected 2 (stderr: $message)"
    exit 1
fi
case $message in
    *-FORCE*) ;;
    *)
        echo "the message does not suggest -FORCE: $message"
        exit 1
        ;;
esac
