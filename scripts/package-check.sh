#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Debian package of Lumière the way a user meets it: builds the package and runs
# lintian on it, installs it with apt-get, creates a new user, starts the installed lumiere as
# that user in a virtual screen, checks that ~/.local/share/lumiere is created and filled with
# the shipped files, that a frame reaches a pseudo-terminal (the installed lumiere-sim's)
# chosen as the device in param.ini ([Port] Peripherique=), then removes the package and checks
# that the user's files stay. Run as root, on a machine where installing the package is fine (CI).
#
#   scripts/package-check.sh [--sans-apt]
#
#   --sans-apt  unpack the package into a temporary folder instead of apt-get install/remove
set -euo pipefail
cd "$(dirname "$0")/.."

say() { echo "== $*"; }
fail() {
  echo "ÉCHEC : $*" >&2
  # What the programs said, to see why.
  if [ -n "${trial:-}" ] && [ -s "$trial/sortie.log" ]; then
    echo "--- sortie des programmes :" >&2
    tail -n 30 "$trial/sortie.log" >&2
  fi
  exit 1
}

build_dir=build/release
use_apt=1
while [ $# -gt 0 ]; do
  case "$1" in
    --sans-apt) use_apt=0; shift ;;
    -h | --help) sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "package-check : option inconnue « $1 »" >&2; exit 2 ;;
  esac
done

[ "$(id -u)" -eq 0 ] || fail "il faut être root (installation du paquet, création d’un utilisateur)."
for tool in cmake cpack lintian dpkg-deb xvfb-run xauth runuser useradd userdel sha256sum; do
  command -v "$tool" >/dev/null || fail "outil manquant : $tool"
done

# Waits until a condition holds, at most $1 seconds: wait_until SECONDES DESCRIPTION COMMANDE…
wait_until() {
  local seconds="$1" what="$2"
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || fail "$what : rien après $seconds s."
    sleep 0.1
  done
}

# --- The package -------------------------------------------------------------------------------
say "Construction du paquet ($build_dir)"
[ -f "$build_dir/build.ninja" ] || cmake --preset release >/dev/null
cmake --build --preset release >/dev/null
rm -f "$build_dir"/lumiere_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
debs=("$build_dir"/lumiere_*_amd64.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  fail "aucun paquet lumiere_<version>_amd64.deb"
fi
deb="$(realpath "${debs[0]}")"
say "Paquet : $deb"
dpkg-deb -f "$deb" Depends
say "lintian"
lintian_status=0
lintian_report="$(lintian --fail-on error "$deb" 2>&1)" || lintian_status=$?
grep -v '^running with root' <<<"$lintian_report" || true
[ "$lintian_status" -eq 0 ] || fail "lintian signale des erreurs."

# --- Everything below is undone on the way out -------------------------------------------------
work="$(mktemp -d)"
chmod 755 "$work"
user="lumiere-essai-$$"
installed=0
pids=()
# True once process $1 is gone, false if it is still there after $2 seconds.
gone_within() {
  local deadline=$((SECONDS + $2))
  while kill -0 "$1" 2>/dev/null; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}
cleanup() {
  local i pid
  # Latest first: when lumiere ends, xvfb-run stops its X server itself (killing xvfb-run
  # instead would leave the server running).
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    pid="${pids[i]}"
    kill -TERM "$pid" 2>/dev/null || continue
    gone_within "$pid" 10 || kill -KILL "$pid" 2>/dev/null || true
  done
  # Whatever else the test user still runs was started here, under that user only.
  if id "$user" >/dev/null 2>&1; then
    for pid in $(pgrep -u "$user" || true); do kill -TERM "$pid" 2>/dev/null || true; done
  fi
  if [ "$installed" -eq 1 ] && [ "$use_apt" -eq 1 ]; then
    apt-get remove -y -qq lumiere >/dev/null 2>&1 || true
  fi
  if id "$user" >/dev/null 2>&1; then userdel -r "$user" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

say "Installation"
if [ "$use_apt" -eq 1 ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
  prefix=/usr
else
  dpkg-deb -x "$deb" "$work/racine"
  prefix="$work/racine/usr"
fi
installed=1
for f in bin/lumiere bin/lumiere-sim share/lumiere/param.ini share/applications/lumiere.desktop \
  share/icons/hicolor/48x48/apps/lumiere.png share/icons/hicolor/128x128/apps/lumiere.png \
  share/icons/hicolor/256x256/apps/lumiere.png share/metainfo/fr.lumiere.lumiere.metainfo.xml \
  share/doc/lumiere/copyright; do
  [ -e "$prefix/$f" ] || fail "le paquet n’a pas installé $prefix/$f"
done
shipped="$prefix/share/lumiere"

useradd -m -s /bin/bash "$user"
home="$(getent passwd "$user" | cut -d: -f6)"
folder="$home/.local/share/lumiere"
trial="$work/essai"
mkdir "$trial"
chown "$user:" "$trial"
say "Utilisateur $user ($home)"

# Runs a command as the new user, in a clean environment, from its home folder.
as_user() {
  (cd "$home" && runuser -u "$user" -- env -i HOME="$home" USER="$user" LOGNAME="$user" \
    PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 "$@")
}

# Starts a program as the user in the background; its own process id lands in the file $1.
start_as_user() {
  local pidfile="$1"
  shift
  rm -f "$pidfile"
  # shellcheck disable=SC2016 # expanded by the user's shell
  as_user sh -c 'echo $$ > "$0"; exec "$@"' "$pidfile" "$@" >>"$trial/sortie.log" 2>&1 &
  wait_until 20 "démarrage de $1" test -s "$pidfile"
  pids+=("$(cat "$pidfile")")
}

# Stops the process whose id is in the file $1 and waits, with a deadline, until it is gone.
stop() {
  local pid
  pid="$(cat "$1")"
  [[ "$pid" =~ ^[0-9]+$ ]] || fail "numéro de processus illisible dans $1 : « $pid »"
  kill -TERM "$pid" 2>/dev/null || fail "le processus $pid était déjà terminé"
  gone_within "$pid" 10 || fail "arrêt du processus $pid : toujours là après 10 s."
}

lumiere_running() { kill -0 "$(cat "$trial/lumiere.pid")" 2>/dev/null; }

# The Qt program in a virtual screen; the process id written is lumiere's own (exec).
start_lumiere() {
  # The id of an earlier start would be read as this one's, and waited on for nothing.
  rm -f "$trial/lumiere.pid"
  # shellcheck disable=SC2016 # expanded by the shell inside the virtual screen
  start_as_user "$trial/xvfb.pid" xvfb-run -a -s "-screen 0 1024x768x24" \
    sh -c 'echo $$ > "$0"; exec "$1"' "$trial/lumiere.pid" "$prefix/bin/lumiere"
  wait_until 20 "démarrage de lumiere" test -s "$trial/lumiere.pid"
  pids+=("$(cat "$trial/lumiere.pid")")
  # The shell that wrote the id becomes lumiere with exec, and lumiere holds SIGTERM from the
  # first line of its main on (to end the show with the all-off frame): a signal sent before
  # that, while the libraries load, would just end the process.
  wait_until 20 "lancement de $prefix/bin/lumiere" holds_sigterm "$(cat "$trial/lumiere.pid")"
}

# True once process $1 is lumiere and blocks or catches SIGTERM (bit 15, 0x4000, of the masks).
holds_sigterm() {
  [ "$(readlink "/proc/$1/exe" 2>/dev/null)" = "$prefix/bin/lumiere" ] || return 1
  local key mask
  while read -r key mask _; do
    case "$key" in
      SigBlk: | SigCgt:) (((0x$mask & 0x4000) != 0)) && return 0 ;;
    esac
  done <"/proc/$1/status"
  return 1
}

folder_filled() {
  local file
  for file in "$shipped"/*; do
    cmp -s "$file" "$folder/$(basename "$file")" || return 1
  done
}

# --- First start: the program folder ----------------------------------------------------------
say "Premier lancement de lumiere"
start_lumiere
wait_until 20 "création et remplissage de $folder" folder_filled
lumiere_running || fail "lumiere s’est arrêté : $(cat "$trial/sortie.log")"
[ "$(stat -c %U "$folder")" = "$user" ] || fail "$folder n’appartient pas à $user"
stop "$trial/lumiere.pid"
say "$folder créé et rempli : $(find "$folder" -type f | wc -l) fichiers"

# --- A frame on a pseudo-terminal chosen as the device ----------------------------------------
say "Trame vers un pseudo-terminal"
as_user mkdir "$trial/sim"
start_as_user "$trial/sim.pid" "$prefix/bin/lumiere-sim" --dossier "$trial/sim" --port 7 \
  --log "$trial/trames.log" --silencieux
wait_until 20 "lien COM7 du contrôleur virtuel" test -L "$trial/sim/COM7"
pty="$(readlink "$trial/sim/COM7")"
# The user's own edit: the device, under [Port], with the file's CR LF line ends.
# shellcheck disable=SC2016 # expanded by the user's shell
as_user sh -c 'awk -v dev="$1" "{ print } /^\[Port\]/ { printf \"Peripherique=%s\r\n\", dev }" \
  "$0/param.ini" > "$0/param.ini.new" && mv "$0/param.ini.new" "$0/param.ini"' "$folder" "$pty"
grep -q "^Peripherique=$pty" "$folder/param.ini" || fail "param.ini n’a pas reçu Peripherique"
# Lumière sends nothing at start; ended like at logout (SIGTERM), it switches every lamp off with
# one frame, which must reach the device param.ini names.
start_lumiere
stop "$trial/lumiere.pid"
wait_until 20 "trame reçue sur $pty" test -s "$trial/trames.log"
frames="$(awk '{ print $2 }' "$trial/trames.log" | tr '\n' ' ')"
[ "$frames" = "0 " ] || fail "trames reçues « $frames », au lieu de la seule trame 0 (tout éteint)"
stop "$trial/sim.pid"
say "Trames reçues sur $pty : $(wc -l <"$trial/trames.log")"

# --- Removal keeps the user's files -----------------------------------------------------------
(cd "$folder" && sha256sum -- *) >"$trial/avant.sha256"
say "Suppression du paquet"
if [ "$use_apt" -eq 1 ]; then
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq lumiere >/dev/null
  [ ! -e /usr/bin/lumiere ] || fail "/usr/bin/lumiere est toujours là"
else
  rm -rf "$work/racine"
fi
installed=0
(cd "$folder" && sha256sum -c --quiet "$trial/avant.sha256") ||
  fail "les fichiers de $folder ont changé avec la suppression"
grep -q "^Peripherique=$pty" "$folder/param.ini" || fail "la modification de param.ini est perdue"
say "Tout est bon : paquet installé, dossier créé et rempli, trame reçue, fichiers gardés."
