#!/usr/bin/env bash
# Installs, with apt-get, whatever the build, the program and the tests need and
# the machine lacks (the whole-program checks need Xvfb, xdotool, ImageMagick and python3, the
# network tests iproute2 and unshare). Does nothing (and asks no mirror) when all is there.
set -euo pipefail
packages=(
    cmake ninja-build ccache g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-declarative-dev qt6-declarative-dev-tools
    qt6-websockets-dev qt6-multimedia-dev qt6-5compat-dev qt6-tools-dev libgl-dev
    qml6-module-qtqml qml6-module-qtqml-models qml6-module-qtqml-workerscript qml6-module-qtquick
    qml6-module-qtquick-controls qml6-module-qtquick-layouts qml6-module-qtquick-window
    qml6-module-qtquick-templates qml6-module-qtquick-dialogs qml6-module-qtquick-shapes
    qml6-module-qtmultimedia qml6-module-qttest qml6-module-qt-labs-platform qml6-module-qt-labs-qmlmodels
    qml6-module-qt5compat-graphicaleffects qt6-translations-l10n
    libbenchmark-dev fonts-wqy-microhei xvfb xauth xdotool imagemagick iproute2 util-linux python3
    libgl1-mesa-dri libglx-mesa0 libegl-mesa0
)
missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null || true)
    [[ "$status" == ii* ]] || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    [[ $(id -u) -eq 0 ]] || sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
