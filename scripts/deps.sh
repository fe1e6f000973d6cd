# Installs the Debian packages the project needs, when any is missing. Sourced by run.sh and test.sh.
tomarina_packages=(cmake g++ make pkg-config qt6-base-dev qt6-qpa-plugins libgl-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev fonts-ipafont-gothic xvfb xauth imagemagick xdg-utils desktop-file-utils
  dpkg-dev)
tomarina_install_deps() {
  local missing=()
  for p in "${tomarina_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
