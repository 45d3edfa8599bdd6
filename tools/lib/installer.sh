# The making of an installer package from the files of the release ZIPs, for tools/package and
# for tools/check-signed-release. Source it after common.sh, from the source tree's top; it
# defines functions only.

# The installer of one processor (x64 or x86), Relingo-VERSION-ARCH.msi, made in the folder
# of the ZIPs from their files, with WORK as its work folder. The x64 one carries the 32-bit
# controls too: without the x86 ZIP it is not made, and says so. Nothing is made without the
# processor's ZIP.
relingo_make_installer() {
    local arch=$1 folder=$2 work=$3
    local zip
    zip=$(find "$folder" -maxdepth 1 -name "Relingo-*-$arch.zip" | head -n 1)
    [ -n "$zip" ] || return 0
    local name version
    name=$(basename "$zip" .zip)
    version=${name#Relingo-}
    version=${version%-"$arch"}
    local unpacked=$work/unpacked
    rm -rf "$unpacked"
    mkdir -p "$unpacked"
    local each
    for each in "$folder"/Relingo-"$version"-*.zip; do
        cmake -E chdir "$unpacked" cmake -E tar xf "$each" || return 1
    done
    local x86=()
    if [ "$arch" = x64 ]; then
        if [ ! -d "$unpacked/Relingo-$version-x86" ]; then
            relingo_say "no Relingo-$version-x64.msi: it carries the 32-bit controls, so it needs" \
                "the windows-x86 preset's ZIP too"
            return 0
        fi
        x86=(-DX86_DIR="$unpacked/Relingo-$version-x86")
    fi
    relingo_say "installer Relingo-$version-$arch.msi"
    cmake -DMAIN_DIR="$unpacked/$name" "${x86[@]}" -DSOURCE_DIR="$PWD" -DVERSION="$version" \
        -DARCH="$arch" -DOUTPUT="$folder/Relingo-$version-$arch.msi" \
        -DWORK_DIR="$work/$arch" -P cmake/MakeInstaller.cmake
}
