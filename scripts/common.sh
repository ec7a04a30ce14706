# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by scripts/run, scripts/test, scripts/fuzz and scripts/package; sourced, not executed.

LW_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
LW_JOBS=2

# cmake, compiler and libraries the build and the tests need on Debian 12.
# libgl-dev and libvulkan-dev: Qt6Gui's CMake package looks for OpenGL (required) and the
# Vulkan headers; fonts-dejavu-core: offscreen tests draw text and need one real font;
# fonts-liberation2: a sans serif as narrow as the one the windows were designed with;
# qt6-base-private-dev: a window test titles windows as the window system's plugin does;
# clang and libclang-rt-14-dev: the fuzz targets (libFuzzer is libclang_rt.fuzzer*.a there);
# llvm-14: llvm-symbolizer-14, which names the functions in sanitizer reports;
# desktop-file-utils, appstream and shared-mime-info: the install test validates the desktop
# entry, the AppStream metadata and the file type; dpkg-dev: dpkg-shlibdeps, which gives the
# Debian package of scripts/package its dependencies, and dpkg-parsechangelog, with which the
# package test reads the changelog; man-db: the package test reads the manual pages as lintian
# does (man --warnings, lexgrog); qt6-translations-l10n: Qt's own dialogs and buttons in German,
# among the program's German texts.
LW_PACKAGES=(
    cmake
    ninja-build
    g++
    pkg-config
    qt6-base-dev
    qt6-svg-dev
    qt6-base-private-dev
    qt6-translations-l10n
    zlib1g-dev
    libgl-dev
    libvulkan-dev
    libgtest-dev
    libgmock-dev
    libbenchmark-dev
    libmuparser-dev
    fonts-dejavu-core
    fonts-liberation2
    clang
    libclang-rt-14-dev
    llvm-14
    desktop-file-utils
    appstream
    shared-mime-info
    dpkg-dev
    man-db
)

lw_missing_packages() {
    local package
    for package in "${LW_PACKAGES[@]}"; do
        if [[ "$(dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null)" != ii* ]]; then
            echo "$package"
        fi
    done
}

lw_install_dependencies() {
    local missing
    mapfile -t missing < <(lw_missing_packages)
    if ((${#missing[@]} == 0)); then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    local sudo=()
    if ((EUID != 0)); then
        if ! command -v sudo >/dev/null; then
            echo "Missing packages (${missing[*]}); run as root or install sudo." >&2
            return 1
        fi
        sudo=(sudo)
    fi
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
        "${missing[@]}"
}

# lw_configure DIR [cmake options...]
lw_configure() {
    local build_dir="$1"
    shift
    cmake -S "$LW_ROOT" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
}

# lw_build DIR [cmake options...]: configures and builds every target.
lw_build() {
    lw_configure "$@"
    cmake --build "$1" -j "$LW_JOBS"
}
