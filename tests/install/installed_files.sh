#!/usr/bin/env bash
# Installs the build under a DESTDIR, moves the tree elsewhere (a relocated prefix), and
# checks what an installation holds: the programs and their versions, the library with its
# soname links, header and pkg-config file (a C program is built and run against them), the
# program files, and the desktop entry, icons, AppStream data and manual pages, each passed
# through its validator.
#   installed_files.sh CMAKE BUILD LIBDIR PROJECT_VERSION QUORVEL_VERSION
set -euo pipefail
cmake=$1 build=$2 libdir=$3 version=$4 quorvel_version=$5
. "$(dirname "$0")/install_common.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
install_into "$work/stage"
# Moved after installing: nothing may depend on the prefix it was installed for.
mv "$work/stage/usr" "$work/moved"
prefix=$work/moved

for file in bin/pagewick bin/quorvel include/quorvel.h "$libdir/pkgconfig/quorvel.pc" \
    share/pagewick/Template.html share/pagewick/helpmain.html share/pagewick/Pagewick_Logo.gif \
    share/pagewick/list.js share/pagewick/true.gif share/pagewick/false.gif \
    share/pagewick/html_class.inc share/pagewick/html_class_documentation.txt \
    share/applications/pagewick.desktop share/metainfo/org.pagewick.Pagewick.metainfo.xml \
    share/icons/hicolor/scalable/apps/pagewick.svg share/man/man1/pagewick.1.gz \
    share/man/man1/quorvel.1.gz; do
  [[ -f "$prefix/$file" ]] || fail "$file is not installed"
done
for size in 16 22 24 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/pagewick.png
  [[ -f "$png" ]] || fail "no ${size}x${size} icon"
  grep -q "^PNG image data, $size x $size," <<<"$(file -b "$png")" \
    || fail "the ${size}x${size} icon is $(file -b "$png")"
done
[[ -z $(find "$prefix/share/pagewick" -name '*.desktop') ]] || fail "a desktop entry among the program files"

# The library: the real file carries the converter's version, the soname link its major
# number, and the plain name (for linking) points to the soname.
lib=$prefix/$libdir
soversion=${quorvel_version%%.*}
[[ -f "$lib/libquorvel.so.$quorvel_version" && ! -L "$lib/libquorvel.so.$quorvel_version" ]] \
  || fail "libquorvel.so.$quorvel_version is not the library file"
[[ $(readlink "$lib/libquorvel.so.$soversion") == "libquorvel.so.$quorvel_version" ]] \
  || fail "libquorvel.so.$soversion does not link to the library file"
[[ $(readlink "$lib/libquorvel.so") == "libquorvel.so.$soversion" ]] \
  || fail "libquorvel.so does not link to the soname"
grep -q "SONAME *libquorvel.so.$soversion\$" <<<"$(objdump -p "$lib/libquorvel.so.$quorvel_version")" \
  || fail "the library's soname is not libquorvel.so.$soversion"

# Versions come from the build's one place.
[[ $("$prefix/bin/pagewick" --version) == "Pagewick $version" ]] || fail "pagewick --version"
[[ $("$prefix/bin/quorvel" --version) == "Quorvel $quorvel_version" ]] || fail "quorvel --version"

# The installed command converts a file.
write_sample_rtf "$work/in.rtf"
"$prefix/bin/quorvel" "$work/in.rtf" "$work/cli.html" || fail "the installed quorvel failed"
sample_converted "$work/cli.html" || fail "the installed quorvel wrote: $(cat "$work/cli.html")"

# A C program built from the installed header and library through pkg-config alone.
export PKG_CONFIG_PATH=$lib/pkgconfig
[[ $(pkg-config --modversion quorvel) == "$quorvel_version" ]] || fail "quorvel.pc's version"
cat >"$work/convert.c" <<'C'
#include <quorvel.h>
#include <stdio.h>
int main(int argc, char **argv)
{
    (void)argc;
    if (QuorvelConvertFile(argv[1], argv[2], QUORVEL_WRAP_HTML, "t", "", "", "Arial", 12) != 0) {
        fprintf(stderr, "%s\n", QuorvelLastError());
        return 1;
    }
    return 0;
}
C
# A library built with the sanitizers needs their runtime loaded first, so the program is
# built with them too.
sanitize=()
if grep -q 'NEEDED.*libasan' <<<"$(readelf -d "$lib/libquorvel.so.$quorvel_version")"; then
  sanitize=(-fsanitize=address,undefined)
fi
# shellcheck disable=SC2046
cc -std=c11 -Wall -Werror "${sanitize[@]}" "$work/convert.c" -o "$work/convert" \
  $(pkg-config --cflags --libs quorvel) \
  || fail "a C program does not build against the installed library"
LD_LIBRARY_PATH=$lib "$work/convert" "$work/in.rtf" "$work/c.html" || fail "the C program's conversion failed"
sample_converted "$work/c.html" || fail "the C program wrote: $(cat "$work/c.html")"
# It runs against the installed library, not one of the build's.
loaded=$(LD_LIBRARY_PATH=$lib ldd "$work/convert")
grep -q "$lib/libquorvel.so.$soversion" <<<"$loaded" \
  || fail "the C program does not load the installed library: $loaded"

# The desktop's files pass their validators; the manual pages render.
desktop-file-validate "$prefix/share/applications/pagewick.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/org.pagewick.Pagewick.metainfo.xml" \
  || fail "appstreamcli validate"
for page in pagewick quorvel; do
  rendered=$(MANWIDTH=80 man -l "$prefix/share/man/man1/$page.1.gz" 2>"$work/man.err") \
    || fail "man -l $page.1"
  [[ ! -s "$work/man.err" ]] || fail "man -l $page.1 warned: $(cat "$work/man.err")"
  grep -q "^NAME" <<<"$rendered" && grep -q "$page" <<<"$rendered" || fail "$page.1 renders empty"
  grep -q -- "--version" <<<"$rendered" || fail "$page.1 does not describe --version"
done
echo "ok: installed files, versions, library, pkg-config, validators and manual pages"
