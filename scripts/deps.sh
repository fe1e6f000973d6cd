# Installs the Debian packages the project needs, when any is missing, and configures the build; sourced
# by run.sh and test.sh.
# Building and running (the virtual display and the screenshot tool serve run.sh without a display; the
# compiler cache keeps a build from compiling again what this or another clone of the project compiled):
tomarina_packages=(cmake g++ make pkg-config ccache qt6-base-dev qt6-qpa-plugins libgl-dev librsvg2-bin
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

# The compiler cache takes paths relative to this checkout, so that another clone finds the same objects.
tomarina_launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
# tomarina_configure_build [CMAKE_ARGS...]: the one configuration of build/ for run.sh and test.sh, so that
# neither compiles again what the other built (arguments may choose targets, never compiler flags).
# Warnings are errors, as the tree builds without any.
tomarina_configure_build() {
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOMARINA_WERROR=ON "${tomarina_launcher[@]}" "$@" \
    >/dev/null
}
