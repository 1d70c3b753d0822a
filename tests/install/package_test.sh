#!/usr/bin/env bash
# The installed layout, twice: `cmake --install` into a temporary root, and the Debian package
# that cpack makes, unpacked. Both must hold the program folder (both programs with Languages/
# and html/ beside them), the links on the PATH, the desktop entry and the icon; the programs,
# started through their links, must find their language files.
#   package_test.sh BUILD_DIR
set -euo pipefail

build=$(cd "$1" && pwd)
work=$(mktemp -d)
program_pid=
cleanup() {
  if [ -n "$program_pid" ]; then
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

pages=(index main-window settings passwords-generator new-user-dialog log-in-dialog about
  folder-editor note-editor)

# The layout below ROOT/usr.
check_layout() {
  local root=$1 what=$2 usr=$1/usr
  local folder=$usr/lib/vaultquill
  for program in vaultquill vaultquill-cli; do
    [ -x "$folder/$program" ] && [ ! -L "$folder/$program" ] || fail "$what: $folder/$program"
    local link=$usr/bin/$program
    if [ ! -L "$link" ]; then
      fail "$what: $link is not a link"
    elif [ "$(readlink "$link")" != "../lib/vaultquill/$program" ]; then
      fail "$what: $link leads to $(readlink "$link")"
    elif [ "$(readlink -f "$link")" != "$(readlink -f "$folder/$program")" ]; then
      fail "$what: $link does not resolve to the program"
    fi
  done
  for language in English German; do
    [ -s "$folder/Languages/$language.language" ] || fail "$what: $language.language"
  done
  for page in "${pages[@]}"; do
    [ -s "$folder/html/$page.html" ] || fail "$what: html/$page.html"
  done
  [ -s "$folder/html/style.css" ] || fail "$what: html/style.css"
  local entry=$usr/share/applications/vaultquill.desktop
  if [ -f "$entry" ]; then
    for line in 'Exec=vaultquill' 'Icon=vaultquill' 'Categories=Utility;Security;Qt;' \
      'StartupWMClass=VaultQuill' 'Type=Application'; do
      grep -qxF "$line" "$entry" || fail "$what: the desktop entry lacks $line"
    done
  else
    fail "$what: $entry"
  fi
  grep -q '<svg' "$usr/share/icons/hicolor/scalable/apps/vaultquill.svg" ||
    fail "$what: the icon"
  # Nothing else: no test programs, libraries or headers.
  local unexpected
  unexpected=$(cd "$root" && find . -type f -o -type l | sort |
    grep -vE '^\./usr/(lib/vaultquill/(vaultquill|vaultquill-cli|Languages/[A-Za-z]+\.language|html/[a-z-]+\.(html|css))|bin/vaultquill(-cli)?|share/applications/vaultquill\.desktop|share/icons/hicolor/scalable/apps/vaultquill\.svg)$' |
    grep -vE '^\./DEBIAN/' || true)
  [ -z "$unexpected" ] || fail "$what: unexpected files: $unexpected"
}

# A private home whose settings choose German.
home=$work/home
mkdir -p "$home/.config/Orlavo software" "$home/.local/share" "$home/run" "$work/data"
chmod 700 "$home/run"
# No hot key: the program shares the test run's X server with the tests that grab keys.
printf '%s\n' '[Interface%20Settings]' m_csLanguage=Deutsch m_boolRunMinimised=0 \
  m_boolStartUp=0 m_boolHotKey=0 >"$home/.config/Orlavo software/VaultQuill.conf"
in_home() {
  env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
    XDG_RUNTIME_DIR="$home/run" "$@"
}

# The command-line tool started through its link: a message from the German language file shows
# that it found Languages/ in its own folder. A copy of it elsewhere finds none and speaks
# English, so the check cannot pass by accident.
check_cli_finds_languages() {
  local cli=$1 what=$2 said
  said=$(printf 'one\ntwo\n' |
    in_home "$cli" --data "$work/data" --password-stdin new-user bob 2>&1 || true)
  case "$said" in
    *"Die Passwörter stimmen nicht überein"*) ;;
    *) fail "$what: the command-line tool did not speak German: $said" ;;
  esac
}

# The desktop program started through its link, on the test run's X server: with no user yet it
# opens the user editor, titled from the German language file.
check_program_finds_languages() {
  local program=$1 what=$2
  if [ -z "${DISPLAY:-}" ] || ! command -v xwininfo >/dev/null; then
    echo "skipped: $what: no X server or no xwininfo" >&2
    return 0
  fi
  in_home env QT_QPA_PLATFORM=xcb "$program" >"$work/program.log" 2>&1 &
  program_pid=$!
  local found=
  for _ in $(seq 1 100); do
    if xwininfo -root -tree 2>/dev/null | grep -q '"Neuer Benutzer"'; then
      found=yes
      break
    fi
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.2
  done
  kill "$program_pid" 2>/dev/null || true
  wait "$program_pid" 2>/dev/null || true
  program_pid=
  [ -n "$found" ] || fail "$what: no German window of the program: $(head -c 2000 "$work/program.log")"
}

# 1. cmake --install into a temporary root.
DESTDIR=$work/root cmake --install "$build" --prefix /usr >/dev/null
check_layout "$work/root" "cmake --install"
check_cli_finds_languages "$work/root/usr/bin/vaultquill-cli" "cmake --install"
cp "$work/root/usr/lib/vaultquill/vaultquill-cli" "$work/lonely-cli"
said=$(printf 'one\ntwo\n' |
  in_home "$work/lonely-cli" --data "$work/data" --password-stdin new-user bob 2>&1 || true)
case "$said" in
  *"The passwords do not match"*) ;;
  *) fail "a copy without language files did not fall back to English: $said" ;;
esac
check_program_finds_languages "$work/root/usr/bin/vaultquill" "cmake --install"

# 2. The Debian package.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack"; exit 1; }
debs=("$work"/package/vaultquill_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { fail "no single package: ${debs[*]}"; exit 1; }
deb=${debs[0]}
[ "$(dpkg-deb -f "$deb" Package)" = vaultquill ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6; do
  [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
dpkg-deb -x "$deb" "$work/unpacked"
check_layout "$work/unpacked" "package"
check_cli_finds_languages "$work/unpacked/usr/bin/vaultquill-cli" "package"
# Owned by root in the archive, as installed files must be.
owners=$(dpkg-deb -c "$deb" | awk '{print $2}' | sort -u)
[ "$owners" = "root/root" ] || fail "owners in the package: $owners"

if [ "$failures" -ne 0 ]; then
  echo "$failures failed" >&2
  exit 1
fi
echo "installed layout and package: all checks passed"
