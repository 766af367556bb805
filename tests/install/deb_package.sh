#!/usr/bin/env bash
# The .deb that `make package` builds.
#   deb_package.sh build    CPACK BUILD OUT           builds it into OUT
#   deb_package.sh contents OUT VERSION QUORVEL_VERSION LIBDIR
#                                                     its control data and files
#   deb_package.sh dpkg     OUT VERSION               installs and removes it (root only)
set -euo pipefail
. "$(dirname "$0")/install_common.sh"
mode=$1
shift

the_deb() {
  local debs=("$1"/pagewick_*.deb)
  [[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || fail "no single pagewick .deb in $1"
  printf '%s\n' "${debs[0]}"
}

case $mode in
build)
  cpack=$1 build=$2 out=$3
  rm -rf "$out"
  mkdir -p "$out"
  if ! log=$("$cpack" --config "$build/CPackConfig.cmake" -B "$out" 2>&1); then
    printf '%s\n' "$log"
    fail "cpack failed"
  fi
  deb=$(the_deb "$out")
  rm -rf "$out/_CPack_Packages"
  echo "ok: built $deb"
  ;;

contents)
  out=$1 version=$2 quorvel_version=$3 libdir=$4
  deb=$(the_deb "$out")
  field() { dpkg-deb -f "$deb" "$1"; }
  [[ $(field Package) == pagewick ]] || fail "package name $(field Package)"
  [[ $(field Version) == "$version" ]] || fail "package version $(field Version)"
  [[ $(field Architecture) == "$(dpkg --print-architecture)" ]] || fail "architecture $(field Architecture)"
  [[ -n $(field Maintainer) ]] || fail "no maintainer"
  description=$(field Description)
  grep -q "HTML source editor" <<<"$description" || fail "description: $description"
  [[ $(wc -l <<<"$description") -gt 1 ]] || fail "the description has no long part"
  depends=$(field Depends)
  # Computed from the programs' own links, not written by hand.
  names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
  for needed in libc6 libstdc++6 libqt6widgets6 libqt6gui6 libqt6core6; do
    grep -qxF "$needed" <<<"$names" || fail "Depends lacks $needed: $depends"
  done

  listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
  soversion=${quorvel_version%%.*}
  for file in usr/bin/pagewick usr/bin/quorvel usr/include/quorvel.h \
      "usr/$libdir/libquorvel.so.$quorvel_version" "usr/$libdir/libquorvel.so.$soversion" \
      "usr/$libdir/libquorvel.so" "usr/$libdir/pkgconfig/quorvel.pc" \
      usr/share/pagewick/Template.html usr/share/pagewick/helpmain.html \
      usr/share/applications/pagewick.desktop usr/share/metainfo/org.pagewick.Pagewick.metainfo.xml \
      usr/share/icons/hicolor/scalable/apps/pagewick.svg \
      usr/share/icons/hicolor/48x48/apps/pagewick.png \
      usr/share/man/man1/pagewick.1.gz usr/share/man/man1/quorvel.1.gz usr/share/doc/pagewick/copyright \
      usr/share/doc/pagewick/changelog.gz; do
    grep -qx "\./$file" <<<"$listing" || fail "$file is not in the package"
  done
  # Nothing of the build tree: no objects, archives, test programs or CMake's own files.
  stray=$(grep -E '\.(o|a|cmake)$|CMakeFiles|CMakeCache|_CPack_Packages|install_manifest|/test_|/bench' <<<"$listing" || true)
  [[ -z $stray ]] || fail "build files in the package: $stray"
  [[ -z $(grep -v '^\./usr/' <<<"$listing" | grep -v '^\./$') ]] || fail "files outside /usr"
  # The programs neither look for libraries in the build folder (nor anywhere else of their
  # own) nor carry debugging data.
  tree=$(mktemp -d)
  trap 'rm -rf "$tree"' EXIT
  dpkg-deb -x "$deb" "$tree"
  for elf in usr/bin/pagewick usr/bin/quorvel "usr/$libdir/libquorvel.so.$quorvel_version"; do
    ! grep -Eq 'RPATH|RUNPATH' <<<"$(readelf -d "$tree/$elf")" || fail "$elf has a library search path"
    ! grep -q '\.debug_info' <<<"$(readelf -S "$tree/$elf")" || fail "$elf is not stripped"
  done
  echo "ok: $deb holds the programs, library, program files and desktop files; Depends: $depends"
  ;;

dpkg)
  out=$1 version=$2
  deb=$(the_deb "$out")
  if [[ $(id -u) -ne 0 ]]; then
    echo "SKIP: installing a package with dpkg needs root"
    exit 77
  fi
  if grep -q "ok installed" <<<"$(dpkg-query -W -f='${Status}' pagewick 2>/dev/null)"; then
    echo "SKIP: a pagewick package is installed here already, and it is not this test's to remove"
    exit 77
  fi
  # Another dpkg (an apt run elsewhere on the machine) may hold the lock for a while.
  with_dpkg() {
    local log
    for _ in $(seq 1 120); do
      if log=$(dpkg "$@" 2>&1); then return 0; fi
      grep -qi "lock" <<<"$log" || { printf '%s\n' "$log"; return 1; }
      sleep 1
    done
    printf '%s\n' "$log"
    return 1
  }
  trap 'dpkg -r pagewick >/dev/null 2>&1 || true' EXIT
  with_dpkg -i "$deb" || fail "dpkg -i"
  [[ $(/usr/bin/pagewick --version) == "Pagewick $version" ]] || fail "installed pagewick --version"
  work=$(mktemp -d)
  write_sample_rtf "$work/in.rtf"
  /usr/bin/quorvel "$work/in.rtf" "$work/out.html" || fail "the installed quorvel failed"
  sample_converted "$work/out.html" || fail "the installed quorvel wrote: $(cat "$work/out.html")"
  rm -rf "$work"
  files=$(dpkg -L pagewick)
  grep -qx /usr/share/pagewick/Template.html <<<"$files" || fail "dpkg -L lacks the template"
  with_dpkg -r pagewick || fail "dpkg -r"
  trap - EXIT
  ! grep -q "ok installed" <<<"$(dpkg-query -W -f='${Status}' pagewick 2>/dev/null)" || fail "still installed"
  for file in /usr/bin/pagewick /usr/bin/quorvel /usr/share/pagewick /usr/include/quorvel.h; do
    [[ ! -e $file ]] || fail "$file is left after removal"
  done
  echo "ok: dpkg installed $deb, the programs ran, and dpkg removed it without a trace"
  ;;
*)
  fail "unknown mode $mode"
  ;;
esac
