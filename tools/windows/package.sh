#!/usr/bin/env bash
# Lays out the Windows programs of build-win64/ as a folder and packs it twice: the portable
# zip and the NSIS installer.
#   tools/windows/package.sh ROOT QT_DIR
# The DLLs are what the programs and the Qt plugins they load import, followed recursively
# (x86_64-w64-mingw32-objdump -p), taken from the Qt and the MinGW runtime; a DLL found in
# neither is Windows' own.
set -euo pipefail
root="$1" qt="$2"
build="$root/build-win64"
version=$(sed -n 's/^project(mzprog VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
name="mzprog-$version-win64"
dir="$build/package/$name"
rm -rf "$build/package"
mkdir -p "$dir"
# The staged tree: Version.ini and language/mysetup.ini here, the programs with their files in V100/.
cp -r "$build/stage/." "$dir/"
prog="$dir/V100"
rm -f "$prog"/*.exe "$prog/Setting.ini"
cp "$build/stage/V100/mzprog.exe" "$build/stage/V100/mzcli.exe" "$prog/"
# The Qt plugins the programs load at run time: the window system (and offscreen, for running
# without a display), the style, the pictures, and the audio backend of the tone tips.
for p in platforms/qwindows.dll platforms/qoffscreen.dll styles/qwindowsvistastyle.dll \
         imageformats/qjpeg.dll imageformats/qico.dll imageformats/qgif.dll \
         multimedia/windowsmediaplugin.dll; do
    mkdir -p "$prog/$(dirname "$p")"
    cp "$qt/plugins/$p" "$prog/$p"
done
search=("$qt/bin" /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)
declare -A seen=()
queue=("$prog/mzprog.exe" "$prog/mzcli.exe")
while IFS= read -r -d '' p; do queue+=("$p"); done < <(find "$prog" -mindepth 2 -name '*.dll' -print0)
while [ ${#queue[@]} -gt 0 ]; do
    file="${queue[0]}"
    queue=("${queue[@]:1}")
    while read -r dll; do
        key=${dll,,}
        [ -n "${seen[$key]:-}" ] && continue
        seen[$key]=1
        for d in "${search[@]}"; do
            if [ -f "$d/$dll" ]; then
                cp "$d/$dll" "$prog/$dll"
                queue+=("$prog/$dll")
                break
            fi
        done
    done < <(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p')
done
x86_64-w64-mingw32-strip --strip-unneeded "$prog"/*.exe
sed -e "s/@VERSION@/$version/g" "$root/data/windows/README.txt" | sed 's/$/\r/' > "$dir/README.txt"

zip="$build/$name.zip"
rm -f "$zip"
(cd "$build/package" && cmake -E tar cf "$zip" --format=zip "$name")
echo "$zip"

setup="$build/$name-setup.exe"
makensis -V2 -DVERSION="$version" -DSRCDIR="$dir" -DOUTFILE="$setup" \
    "$root/data/windows/mzprog.nsi" >/dev/null
echo "$setup"
