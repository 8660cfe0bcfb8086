# Shared by tools/test and tools/run (sourced, never run on its own): puts the
# packages the build and the Wine tests need on a Debian 12 machine, prepares
# the Japanese locale and builds presets, timing each stage for a summary.
# shellcheck shell=bash

TREVO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export DEBIAN_FRONTEND=noninteractive

# Debian packages, checked one by one so that a second run installs nothing.
# Running Trevo needs only the first list; the tests need the second as well.
# Wine runs Trevo through its 64-bit loader; its 32-bit half is optional (see
# trevo_install_32bit_half) and only the tests ask for it.
TREVO_RUN_PACKAGES=(
  cmake make g++-mingw-w64-x86-64 wine wine64 xvfb imagemagick fonts-ipafont-gothic locales
)
TREVO_TEST_PACKAGES=(
  g++ googletest libgtest-dev libstb-dev g++-mingw-w64-i686 xdotool x11-utils python3
  clang libclang-rt-14-dev valgrind
)
TREVO_32BIT_PACKAGE=wine32:i386
# The loaders are called directly: Debian's `wine` wrapper takes the 32-bit one
# whenever it is installed, even where the machine cannot execute it.
TREVO_WINE64=/usr/lib/wine/wine64
TREVO_WINE32=/usr/lib/wine/wine
TREVO_WINESERVER=/usr/lib/wine/wineserver
# Trevo is made for the Japanese ANSI code page 932 (Wine derives it from LANG);
# the tests also look at it on an English Windows.
TREVO_LOCALE=ja_JP.UTF-8
TREVO_TEST_LOCALES=(ja_JP.UTF-8 en_US.UTF-8)

trevo_note() { printf '\n==> %s\n' "$*"; }
trevo_die() { printf '\nERROR: %s\n' "$*" >&2; exit 1; }

# Runs a command as root: directly when we are root, else through sudo.
trevo_as_root() {
  if [[ $EUID -eq 0 ]]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo -n "$@"
  else
    echo "root is needed for: $*" >&2
    return 1
  fi
}

trevo_package_installed() {
  [[ $(dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null) == ii* ]]
}

# True where the kernel executes 32-bit x86 programs. Asks by running the
# smallest such program there is (an ELF that only calls exit(0)); a kernel
# without IA-32 emulation refuses it with "Exec format error".
trevo_runs_32bit_code() {
  if [[ -z ${TREVO_32BIT_CODE:-} ]]; then
    local probe
    probe=$(mktemp)
    # ELF header, one loadable segment, then: xor ebx,ebx; mov eax,1; int 0x80.
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\x31\xdb\xb8\x01\x00\x00\x00\xcd\x80' >"$probe"
    chmod +x "$probe"
    if "$probe" 2>/dev/null; then TREVO_32BIT_CODE=yes; else TREVO_32BIT_CODE=no; fi
    rm -f "$probe"
  fi
  [[ $TREVO_32BIT_CODE == yes ]]
}

# trevo_missing_packages PACKAGE...: those of them not installed, one a line.
trevo_missing_packages() {
  local package
  for package in "$@"; do
    trevo_package_installed "$package" || printf '%s\n' "$package"
  done
}

# The first error line apt wrote in a log ("E: ..."), else its last line.
trevo_apt_words() {
  grep -m 1 '^E: ' "$1" 2>/dev/null || tail -n 1 "$1" 2>/dev/null
}

# apt-get with its output shown and kept in the log named by $1.
trevo_apt_logged() {
  local log=$1
  shift
  trevo_as_root apt-get -q -y -o Dpkg::Use-Pty=0 "$@" 2>&1 | tee -a "$log"
  return "${PIPESTATUS[0]}"
}

# A mirror being synced can refuse one index (often a foreign architecture's)
# and leave the others fresh: what apt could read is enough when it holds the
# packages asked for, so a failed update is reported, not fatal.
trevo_apt_update() {
  local log=$1
  trevo_apt_logged "$log" update && return 0
  printf 'apt-get update failed for some index (%s); going on with what it did read\n' \
    "$(trevo_apt_words "$log")" >&2
  return 0
}

# apt can lose a race with a mirror update; a second try is cheap.
trevo_apt_install() {
  local log=$1 attempt
  shift
  for attempt in 1 2; do
    trevo_apt_logged "$log" install "$@" && return 0
    printf 'apt-get install failed (attempt %d): %s\n' "$attempt" "$(trevo_apt_words "$log")" >&2
    ((attempt == 2)) || sleep "${TREVO_APT_RETRY_SECONDS:-5}"
  done
  return 1
}

TREVO_APT_UPDATED=0

# trevo_install_packages PACKAGE...: installs those missing; fails, with apt's
# own words, only when some are still missing afterwards.
trevo_install_packages() {
  local missing log status=0
  mapfile -t missing < <(trevo_missing_packages "$@")
  if ((${#missing[@]} == 0)); then
    echo "All packages present."
    return 0
  fi
  echo "Missing packages: ${missing[*]}"
  log=$(mktemp)
  if ((!TREVO_APT_UPDATED)); then
    trevo_apt_update "$log"
    TREVO_APT_UPDATED=1
  fi
  trevo_apt_install "$log" "${missing[@]}"
  mapfile -t missing < <(trevo_missing_packages "$@")
  if ((${#missing[@]} != 0)); then
    printf 'Still missing after the install: %s\napt said: %s\n' "${missing[*]}" "$(trevo_apt_words "$log")" >&2
    status=1
  fi
  rm -f "$log"
  return "$status"
}

# Wine's 32-bit half, for the 32-bit Trevo.exe's end-to-end tests. Never fails:
# where it cannot be had, TREVO_32BIT_MISSING says why (empty when installed).
TREVO_32BIT_MISSING=
trevo_install_32bit_half() {
  local log
  TREVO_32BIT_MISSING=
  if ! trevo_runs_32bit_code; then
    TREVO_32BIT_MISSING="this machine executes no 32-bit code"
    return 0
  fi
  if trevo_package_installed "$TREVO_32BIT_PACKAGE"; then
    echo "Wine's 32-bit half present."
    return 0
  fi
  log=$(mktemp)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    if ! trevo_as_root dpkg --add-architecture i386 >>"$log" 2>&1; then
      TREVO_32BIT_MISSING="Wine's 32-bit half could not be installed: dpkg --add-architecture i386 failed: $(tail -n 1 "$log")"
      rm -f "$log"
      return 0
    fi
    TREVO_APT_UPDATED=0  # the new architecture's indexes are not read yet
  fi
  if ((!TREVO_APT_UPDATED)); then
    trevo_apt_update "$log"
    TREVO_APT_UPDATED=1
  fi
  : >"$log"  # the install's words, not the update's, say why it failed
  if ! trevo_apt_logged "$log" install "$TREVO_32BIT_PACKAGE" || ! trevo_package_installed "$TREVO_32BIT_PACKAGE"; then
    TREVO_32BIT_MISSING="Wine's 32-bit half could not be installed: $(trevo_apt_words "$log")"
  fi
  rm -f "$log"
  return 0
}

# trevo_locale_present LOCALE: whether locale -a lists it (as "ja_JP.utf8").
trevo_locale_present() {
  local wanted=${1%%.*}
  locale -a 2>/dev/null | grep -qix "${wanted}\.utf-\?8"
}

# trevo_ensure_locales LOCALE...: generates the UTF-8 locales that are missing.
trevo_ensure_locales() {
  local locale missing=()
  for locale in "$@"; do
    trevo_locale_present "$locale" || missing+=("$locale")
  done
  if ((${#missing[@]} == 0)); then
    echo "Locales present: $*"
    return 0
  fi
  for locale in "${missing[@]}"; do
    if grep -q "^# *$locale UTF-8" /etc/locale.gen 2>/dev/null; then
      trevo_as_root sed -i "s/^# *\($locale UTF-8\)/\1/" /etc/locale.gen || return 1
    elif ! grep -q "^$locale UTF-8" /etc/locale.gen 2>/dev/null; then
      echo "$locale UTF-8" | trevo_as_root tee -a /etc/locale.gen >/dev/null || return 1
    fi
  done
  trevo_as_root locale-gen || return 1
  for locale in "${missing[@]}"; do
    trevo_locale_present "$locale" || { echo "locale-gen did not produce $locale" >&2; return 1; }
  done
}

# What running Trevo needs.
trevo_prepare_run_machine() {
  trevo_install_packages "${TREVO_RUN_PACKAGES[@]}" && trevo_ensure_locales "$TREVO_LOCALE"
}

# What the tests need; Wine's 32-bit half is asked for apart from this.
trevo_prepare_test_machine() {
  trevo_install_packages "${TREVO_RUN_PACKAGES[@]}" "${TREVO_TEST_PACKAGES[@]}" &&
    trevo_ensure_locales "${TREVO_TEST_LOCALES[@]}"
}

# trevo_configure_and_build PRESET [TARGET...]: every target, or only those.
trevo_configure_and_build() {
  local preset=$1 targets=()
  shift
  (($# == 0)) || targets=(--target "$@")
  (cd "$TREVO_ROOT" && cmake --preset "$preset" && cmake --build --preset "$preset" "${targets[@]}")
}

# --- Stages and the closing summary ---------------------------------------
TREVO_STAGE_NAMES=()
TREVO_STAGE_RESULTS=()
TREVO_STAGE_SECONDS=()
TREVO_FAILED_STAGES=0

# trevo_stage NAME COMMAND...: runs the command, records how it went and how
# long it took, and returns its status.
trevo_stage() {
  local name=$1 start status
  shift
  trevo_note "$name"
  start=$SECONDS
  "$@"
  status=$?
  TREVO_STAGE_NAMES+=("$name")
  TREVO_STAGE_SECONDS+=($((SECONDS - start)))
  if ((status == 0)); then
    TREVO_STAGE_RESULTS+=(ok)
  else
    TREVO_STAGE_RESULTS+=("FAILED ($status)")
    TREVO_FAILED_STAGES=$((TREVO_FAILED_STAGES + 1))
    printf '\n*** stage "%s" failed with status %d\n' "$name" "$status" >&2
  fi
  return "$status"
}

trevo_skip_stage() {
  TREVO_STAGE_NAMES+=("$1")
  TREVO_STAGE_SECONDS+=(0)
  TREVO_STAGE_RESULTS+=("skipped: $2")
}

trevo_print_summary() {
  local i
  printf '\n==================== Summary ====================\n'
  for i in "${!TREVO_STAGE_NAMES[@]}"; do
    printf '  %-34s %6ss  %s\n' "${TREVO_STAGE_NAMES[$i]}" "${TREVO_STAGE_SECONDS[$i]}" "${TREVO_STAGE_RESULTS[$i]}"
  done
  printf '  %-34s %6ss\n' "total" "$SECONDS"
  printf '=================================================\n'
}
