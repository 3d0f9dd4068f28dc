#!/bin/sh
# Screenshots of the typography title's articles at two widths, for review by eye:
#   runtime/mediaview/win32/tests/shots.sh BUILD_BIN OUT_DIR
# Each shot runs display_shot under its own Xvfb and captures the screen with xwd.
set -e
bin=$1
out=$2
mkdir -p "$out"
here=$(cd "$(dirname "$0")/../../../.." && pwd)
for brief in "topic_volga 640 480" "topic_volga 260 480" "topic_volga 100 300" "topic_long 640 480" "pop_delta 160 200"; do
  set -- $brief
  name="$out/$1-$2.png"
  xvfb-run -a -s '-screen 0 800x600x24' sh -c "
    $here/tools/scripts/winerun.sh $bin/display_shot.exe $bin/typography.m14 $1 $2 $3 4 > /tmp/display_shot.\$\$ &
    for i in \$(seq 1 80); do grep -q shown /tmp/display_shot.\$\$ 2>/dev/null && break; sleep 0.1; done
    sleep 0.5
    xwd -root -silent | convert xwd:- -crop ${2}x${3}+0+0 '$name'
    wait
    rm -f /tmp/display_shot.\$\$
    wineserver -k 2>/dev/null || true"
  echo "$name"
done
