#!/bin/sh
# wine-servers.sh start|stop BUILD TREE...: starts (or stops and waits for) one persistent
# wineserver per Windows tree, with Wine's background services, in the current display. One
# server for a whole test run keeps CTest from crawling; see tools/scripts/wine-env.sh.
here=$(cd "$(dirname "$0")" && pwd)
action=$1 build=$2
shift 2
for tree in "$@"; do
  (
    env=$("$here/wine-env.sh" "$tree" "$build") || exit 2
    eval "$env"
    case "$action" in
      start) "$WINESERVER" -p; "$WINELOADER" wineboot ;;
      stop) "$WINESERVER" -k; "$WINESERVER" -w ;;
    esac
  ) </dev/null >/dev/null 2>&1
done
exit 0
