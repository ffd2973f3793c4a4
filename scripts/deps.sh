# Debian 12 packages the program and its tests need, and the check that installs the missing ones.
# Sourced by run.sh and test.sh.

# What the program needs to build and run.
PROGRAM_PACKAGES=(
    build-essential cmake ninja-build pkg-config
    libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev libavcodec-extra
    libsdl2-dev libx11-dev libxext-dev libfreetype-dev libfontconfig-dev zlib1g-dev libjpeg62-turbo-dev xdg-utils
    libglib2.0-dev libglib2.0-bin shared-mime-info adwaita-icon-theme hicolor-icon-theme
    fonts-dejavu-core fonts-liberation fonts-wine
)

# What the tests, benchmarks and fuzz targets need on top: the peers they measure against and the
# virtual X server for the tests that open real windows.
TEST_PACKAGES=(
    googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
    xvfb xdotool x11-apps x11-utils xclip imagemagick openbox xcompmgr libx11-dev libxfixes-dev
    ffmpeg libpng-dev libpixman-1-dev dbus-daemon xdg-desktop-portal xdg-desktop-portal-gtk zenity
)

# ensure_packages <package>... : installs what is missing (as root), or prints the apt-get line and stops.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local line="apt-get install -y --no-install-recommends ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "These Debian packages are missing: ${missing[*]}" >&2
        echo "Install them as root, then run this command again:" >&2
        echo "  sudo apt-get update && sudo $line" >&2
        exit 1
    fi
    echo "Installing missing packages: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    # shellcheck disable=SC2086
    $line
}

# configure_build <build folder> [cmake options...] : configures once; later runs only rebuild.
configure_build() {
    local dir=$1
    shift
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$ROOT" -B "$dir" -G Ninja "$@"
    fi
}
