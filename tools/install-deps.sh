#!/usr/bin/env bash
# Installs the Debian packages named on the command line that are not installed yet.
# Uses apt-get directly as root and through `sudo -n` otherwise; fails with a clear
# message when neither is possible.
set -euo pipefail

missing=()
for pkg in "$@"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done

if [[ ${#missing[@]} -eq 0 ]]; then
  echo "deps: all ${#@} packages present"
  exit 0
fi

echo "deps: installing ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  as_root=(sudo -n)
else
  echo "deps: cannot install ${missing[*]}: not root and no password-less sudo." >&2
  echo "deps: install them by hand (apt-get install ${missing[*]}) and run make again." >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if ! "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
  "${as_root[@]}" apt-get update
  "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}" || {
    echo "deps: apt-get could not install ${missing[*]}" >&2
    exit 1
  }
fi
