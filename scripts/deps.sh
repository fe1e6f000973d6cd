# Installs the Debian packages the project needs, when any is missing. Sourced by run.sh and test.sh.
# Building and running (the virtual display and the screenshot tool serve run.sh without a display):
tomarina_packages=(cmake g++ make pkg-config qt6-base-dev qt6-qpa-plugins libgl-dev librsvg2-bin
  fonts-ipafont-gothic xvfb xauth imagemagick xdg-utils)
# What the tests add: the fuzzers' compiler and sanitizer runtimes, the benchmarks, the package checks,
# the accessibility bus and the screen reader Orca (its own dependencies are all it needs to run on the
# virtual display, writing its speech to its log).
tomarina_test_packages=(clang-14 libclang-rt-14-dev libbenchmark-dev dpkg-dev desktop-file-utils appstream
  lintian dbus at-spi2-core python3-pyatspi orca)
# tomarina_install_deps [PACKAGE_LIST_NAME...]: the building and running list by default.
tomarina_install_deps() {
  local lists=("$@") missing=()
  [ ${#lists[@]} -eq 0 ] && lists=(tomarina_packages)
  for list in "${lists[@]}"; do
    local -n wanted="$list"
    for p in "${wanted[@]}"; do
      dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    unset -n wanted
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
