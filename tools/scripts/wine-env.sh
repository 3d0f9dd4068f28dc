# Sourced with a Windows tree name (win32 or win64) and the build folder:
#   . tools/scripts/wine-env.sh win64 "$build"
# Exports the tree's Wine prefix, loader and server. The loader and server are called
# directly: Debian's `wine` wrapper picks the 32-bit loader whenever its file exists, even on
# machines whose kernel refuses 32-bit executables. The 64-bit server serves both kinds of
# prefix.
kro_tree=$1
kro_build=$2
case "$kro_tree" in
  win32) WINEARCH=win32 WINELOADER=/usr/lib/wine/wine ;;
  win64) WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64 ;;
  *) echo "wine-env: unknown Windows tree '$kro_tree' (win32 or win64)" >&2; return 2 ;;
esac
if [ -x /usr/lib/wine/wineserver64 ]; then WINESERVER=/usr/lib/wine/wineserver64; else WINESERVER=/usr/lib/wine/wineserver32; fi
WINEPREFIX=$kro_build/wineprefix-$kro_tree
export WINEARCH WINELOADER WINESERVER WINEPREFIX LC_ALL=ru_RU.UTF-8 WINEDEBUG="${WINEDEBUG:--all}"
unset kro_tree kro_build
