# Installs the Debian packages the suite needs when any is missing.
# Sourced by run.sh and test.sh; needs root (or sudo) only when installing.
vx_packages_build="build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools qt6-svg-dev libarchive-dev libgcab-dev libasound2-dev libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev libcdio-dev libgtest-dev libxcb1-dev libx11-dev libtiff-dev libjpeg62-turbo-dev libsdl2-image-dev zlib1g-dev libbz2-dev libpng-dev libfontconfig-dev"
vx_packages_run="libqt6widgets6 libtiff6 libjpeg62-turbo libsdl2-image-2.0-0 libqt6dbus6 libqt6printsupport6 libqt6svg6 qt6-image-formats-plugins qt6-qpa-plugins gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav gstreamer1.0-plugins-bad gstreamer1.0-plugins-ugly libcdio19 timgm6mb-soundfont fonts-ipafont-gothic fonts-ipafont-mincho arj xdg-utils"
vx_packages_x="xvfb xauth x11-utils imagemagick libjpeg-turbo-progs"
# Only the tests use these: other taggers read our tags back, another word
# processor reads and writes rich text, other archivers read and write ours.
# Nothing runs them beside the program.
vx_packages_test="dbus-daemon libtag1-dev python3-mutagen libreoffice-writer-nogui lhasa cabextract gcab zip unzip p7zip-full libarchive-tools"
# Benchmarks only (not needed to build or test).
vx_packages_bench="fd-find bc valgrind python3-pil feh stress-ng libxcb-damage0-dev at-spi2-core dbus-daemon dbus-bin"

vx_install_packages() {
    local missing=()
    local p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null 2>&1 || { echo "Root is needed to install: ${missing[*]}" >&2; return 1; }
        sudo="sudo"
    fi
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq || return 1
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" || return 1
}
