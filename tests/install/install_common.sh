# shellcheck shell=bash
# Shared by the installation tests: installs the build into a fresh folder and names what
# an installation must hold. Sourced; the caller has set `cmake` and `build`.

# A tiny RTF file with a bold word (the converter starts the text after the colour table),
# and what its conversion must contain.
write_sample_rtf() {
  printf '{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl\\red0\\green0\\blue255;}\\f0\\fs24 Hello \\b bold\\b0  world.\\par}\r\n' >"$1"
}
sample_converted() {
  grep -q 'Hello' "$1" && grep -qi '<b>bold</b>' "$1"
}

# install_into FOLDER: `cmake --install` with prefix /usr under the DESTDIR FOLDER, as a
# package would; prints nothing unless it fails.
install_into() {
  local log
  if ! log=$(DESTDIR="$1" "$cmake" --install "$build" --prefix /usr 2>&1); then
    printf '%s\n' "$log"
    echo "cmake --install failed"
    return 1
  fi
}

fail() {
  echo "FAIL: $*"
  exit 1
}
