# Sourced by the other scripts: installs the Debian packages they need.
# Usage: pwe_install_packages pkg...   (only missing ones are installed)
pwe_install_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq || return 1
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" || return 1
}

# Each list was found by running its scripts on a freshly bootstrapped
# minimal Debian 12 (scripts/fresh-check). libloadpng4-dev's pkg-config file
# links -lpng -lz without depending on their development packages.
PWE_BUILD_PACKAGES=(build-essential cmake pkg-config liballegro4-dev libloadpng4-dev libpng-dev zlib1g-dev)
PWE_TEST_PACKAGES=(libgtest-dev xvfb xdotool x11-apps x11-utils imagemagick python3 python3-pil)
# scripts/package: dpkg-shlibdeps names the package's dependencies, and
# CPack asks file which installed files are programs.
PWE_PACKAGE_PACKAGES=(dpkg-dev file)
