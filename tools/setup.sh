# Shared by tools/test and tools/run (sourced, never run on its own): puts the
# packages the build and the Wine tests need on a Debian 12 machine, prepares
# the Japanese locale and builds presets, timing each stage for a summary.
# shellcheck shell=bash

TREVO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export DEBIAN_FRONTEND=noninteractive

# Debian packages, checked one by one so that a second run installs nothing.
# Wine runs Trevo through its 64-bit loader; its 32-bit half is added only where
# the machine executes 32-bit code (see trevo_runs_32bit_code).
TREVO_PACKAGES=(
  cmake g++ googletest libgtest-dev libstb-dev g++-mingw-w64-x86-64 g++-mingw-w64-i686
  wine wine64 xvfb xdotool imagemagick x11-utils
  fonts-ipafont-gothic locales python3
  clang libclang-rt-14-dev valgrind
)
TREVO_PACKAGES_32BIT=(wine32:i386)
# The loaders are called directly: Debian's `wine` wrapper takes the 32-bit one
# whenever it is installed, even where the machine cannot execute it.
TREVO_WINE64=/usr/lib/wine/wine64
TREVO_WINE32=/usr/lib/wine/wine
TREVO_WINESERVER=/usr/lib/wine/wineserver
TREVO_LOCALE=ja_JP.UTF-8

trevo_note() { printf '\n==> %s\n' "$*"; }
trevo_die() { printf '\nERROR: %s\n' "$*" >&2; exit 1; }

# Runs a command as root: directly when we are root, else through sudo.
trevo_as_root() {
  if [[ $EUID -eq 0 ]]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo -n "$@"
  else
    trevo_die "root is needed for: $*"
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

trevo_wanted_packages() {
  printf '%s\n' "${TREVO_PACKAGES[@]}"
  if trevo_runs_32bit_code; then printf '%s\n' "${TREVO_PACKAGES_32BIT[@]}"; fi
}

trevo_missing_packages() {
  local package
  while read -r package; do
    trevo_package_installed "$package" || printf '%s\n' "$package"
  done < <(trevo_wanted_packages)
}

# apt can lose a race with a mirror update; a second try is cheap.
trevo_apt() {
  local attempt
  for attempt in 1 2 3; do
    trevo_as_root apt-get -q -y -o Dpkg::Use-Pty=0 "$@" && return 0
    printf 'apt-get %s failed (attempt %d)\n' "$1" "$attempt" >&2
    sleep 5
  done
  return 1
}

trevo_install_packages() {
  local missing
  mapfile -t missing < <(trevo_missing_packages)
  if ((${#missing[@]} == 0)); then
    echo "All packages present."
    return 0
  fi
  echo "Missing packages: ${missing[*]}"
  if [[ " ${missing[*]} " == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    trevo_as_root dpkg --add-architecture i386 || return 1
  fi
  trevo_apt update || return 1
  trevo_apt install "${missing[@]}" || return 1
  mapfile -t missing < <(trevo_missing_packages)
  if ((${#missing[@]} != 0)); then
    echo "Still missing after install: ${missing[*]}" >&2
    return 1
  fi
}

trevo_locale_present() {
  locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'
}

# Trevo is made for the Japanese ANSI code page 932; Wine derives it from LANG.
trevo_ensure_locale() {
  if trevo_locale_present; then
    echo "Locale $TREVO_LOCALE present."
    return 0
  fi
  if grep -q '^# *ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    trevo_as_root sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen || return 1
  elif ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'ja_JP.UTF-8 UTF-8' | trevo_as_root tee -a /etc/locale.gen >/dev/null || return 1
  fi
  trevo_as_root locale-gen || return 1
  trevo_locale_present || { echo "locale-gen did not produce $TREVO_LOCALE" >&2; return 1; }
}

trevo_prepare_machine() {
  trevo_install_packages && trevo_ensure_locale
}

trevo_configure_and_build() {
  local preset=$1
  (cd "$TREVO_ROOT" && cmake --preset "$preset" && cmake --build --preset "$preset")
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
