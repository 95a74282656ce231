#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a command in the committed tree on a fresh, minimal Debian of the
# other release: Debian 13 (trixie) on a Debian 12 (bookworm) machine, 12 on
# a 13 one, or the release named.
#
#   tools/debian-chroot.sh [--release 12|13|bookworm|trixie] [--with PATH]...
#                          [COMMAND...]
#
# For example `tools/debian-chroot.sh tools/test.sh` (the default) builds and
# tests on the other release, and `tools/debian-chroot.sh --release 13
# tools/run.sh` starts Quennix from a Debian 13 build on this desktop.
#
# The chroot is made with `debootstrap --variant=minbase` from the Debian
# mirror this machine's own apt sources name, in a scratch folder under
# ${TMPDIR:-/var/tmp}. HEAD is cloned into it at /src/quennix, each PATH
# given with --with (a file or folder of the tree, from its root, committed or
# not) is copied to the same place in that clone, and COMMAND runs there as
# root. Everything happens in a mount and process namespace of its own: when
# COMMAND ends, fails or is interrupted, nothing it mounted
# stays mounted and nothing it started keeps running, and the scratch folder
# is removed. The exit status is COMMAND's.
#
# Needs root (it asks sudo otherwise), git and util-linux's unshare;
# debootstrap is installed when missing. With DISPLAY set, the desktop's X
# server is reachable from inside.
set -euo pipefail

fail() { echo "debian-chroot: $*" >&2 && exit 1; }

# --- Inside the namespaces: make the chroot and run the command ------------
if [[ ${1:-} == --inside ]]; then
    shift
    root=$1 release=$2 mirror=$3 security=$4 repo=$5 head=$6
    shift 6
    echo "== debootstrap --variant=minbase $release from $mirror"
    include=()
    [[ $mirror != https:* ]] || include=(--include=ca-certificates)
    debootstrap --variant=minbase "${include[@]}" "$release" "$root" "$mirror" \
        >"$root.debootstrap.log" 2>&1 || {
        tail -n 30 "$root.debootstrap.log" >&2
        fail "debootstrap failed"
    }
    keyring=/usr/share/keyrings/debian-archive-keyring.gpg
    {
        printf 'Types: deb\nURIs: %s\nSuites: %s %s-updates\nComponents: main\nSigned-By: %s\n' \
            "$mirror" "$release" "$release" "$keyring"
        [[ -z $security ]] ||
            printf '\nTypes: deb\nURIs: %s\nSuites: %s-security\nComponents: main\nSigned-By: %s\n' \
                "$security" "$release" "$keyring"
    } >"$root/etc/apt/sources.list.d/debian.sources"
    rm -f "$root/etc/apt/sources.list"
    cp /etc/resolv.conf "$root/etc/resolv.conf"

    git clone --quiet --no-hardlinks --no-checkout "$repo" "$root/src/quennix"
    git -C "$root/src/quennix" checkout --quiet --detach "$head"
    [[ ! -d ${root%/root}/with ]] || cp -a "${root%/root}/with/." "$root/src/quennix/"

    mount -t proc proc "$root/proc"
    mount -t sysfs -o ro sysfs "$root/sys"
    mount --rbind /dev "$root/dev"
    environment=(HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}"
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)
    if [[ -n ${DISPLAY:-} && -d /tmp/.X11-unix ]]; then
        mkdir -p "$root/tmp/.X11-unix"
        mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
        environment+=(DISPLAY="$DISPLAY")
        if [[ -r ${XAUTHORITY:-$HOME/.Xauthority} ]]; then
            cp "${XAUTHORITY:-$HOME/.Xauthority}" "$root/root/.Xauthority"
            environment+=(XAUTHORITY=/root/.Xauthority)
        fi
    fi
    echo "== $(. "$root/etc/os-release" && echo "$PRETTY_NAME"): $*"
    # The command's processes are this namespace's: they all end with it.
    status=0
    chroot "$root" /usr/bin/env -i "${environment[@]}" \
        /bin/bash -c 'cd /src/quennix && exec "$@"' command "$@" || status=$?
    exit "$status"
fi

# --- On the machine --------------------------------------------------------
arguments=("$@") release="" with=()
while (($#)); do
    case $1 in
    --release) release=${2:?--release needs 12, 13, bookworm or trixie} && shift 2 ;;
    --with) with+=("${2:?--with needs a path in the tree}") && shift 2 ;;
    -h | --help) sed -n '2,/^$/s/^# \{0,1\}//p' "$0" && exit 0 ;;
    --) shift && break ;;
    -*) fail "unknown option $1 (see --help)" ;;
    *) break ;;
    esac
done
(($#)) || set -- tools/test.sh

if ((EUID != 0)); then
    exec sudo --preserve-env=DISPLAY,XAUTHORITY,TMPDIR -- "$0" "${arguments[@]}"
fi

host=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
case ${release:-other}/$host in
12/* | bookworm/*) release=bookworm ;;
13/* | trixie/*) release=trixie ;;
other/bookworm) release=trixie ;;
other/trixie) release=bookworm ;;
other/*) fail "this machine is not Debian 12 or 13: name a release with --release" ;;
*) fail "unknown release '$release': 12, 13, bookworm or trixie" ;;
esac

# The mirror (and security mirror) apt uses here for this machine's release,
# as apt itself reads its sources, whatever their format.
targets=$(apt-get indextargets --no-release-info --format '$(RELEASE) $(REPO_URI)' \
    'Identifier: Packages')
mirror=$(awk -v r="$host" '$1 == r { print $2; exit }' <<<"$targets")
security=$(awk -v r="$host-security" '$1 == r { print $2; exit }' <<<"$targets")
[[ -n $mirror ]] || fail "no Debian mirror for '$host' in this machine's apt sources"

for tool in git unshare; do
    command -v "$tool" >/dev/null || fail "$tool is missing"
done
if ! command -v debootstrap >/dev/null; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap \
        >/dev/null
fi

repo=$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)
head=$(git -C "$repo" rev-parse HEAD)
inner=""
cleanup() {
    local status=$?
    # Killing the namespace's first process ends every process in it, and
    # its mounts go with the last of them.
    if [[ -n $inner ]]; then
        kill -KILL "$inner" 2>/dev/null || :
        wait "$inner" 2>/dev/null || :
    fi
    if grep -qF " $scratch/" /proc/self/mountinfo; then
        echo "debian-chroot: something is still mounted under $scratch; not removing it" >&2
        status=1
    else
        rm -rf --one-file-system "$scratch"
    fi
    exit "$status"
}
scratch=$(mktemp -d "${TMPDIR:-/var/tmp}/quennix-$release.XXXXXX")
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP
if ((${#with[@]})); then
    mkdir "$scratch/with"
    (cd "$repo" && tar -c -f - -- "${with[@]}") | tar -x -C "$scratch/with"
fi

# Mounts made in the namespace never reach the machine's: its mounts are made
# private. Inside a chroot (as in the autopkgtest of tools/test.sh run in one
# of these) the root is no mount point, so that cannot be asked again: there
# the mounts are left as they are, private already when the outer chroot is
# one of this script's.
propagation=private
mountpoint -q / || propagation=unchanged
unshare --mount --propagation "$propagation" --pid --fork --kill-child --mount-proc -- \
    "$0" --inside "$scratch/root" "$release" "$mirror" "$security" "$repo" "$head" "$@" &
inner=$!
status=0
wait "$inner" || status=$?
inner=""
exit "$status"
